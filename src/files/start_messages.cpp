#include "start_messages.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace yalmera::files {

namespace {

void printUnlessRuntimeFolderWarning(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    const QByteArray line = qFormatLogMessage(type, context, text).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
    std::fflush(stderr);
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

QuietStartMessages::QuietStartMessages()
{
    qInstallMessageHandler(printUnlessRuntimeFolderWarning);
}

QuietStartMessages::~QuietStartMessages()
{
    qInstallMessageHandler(nullptr); // Qt's own handler again
}

} // namespace yalmera::files
