#include "protocol_file.h"

#include "files/whole_file.h"
#include "model/system_error.h"
#include "protocol_docx.h"
#include "report_texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace yalmera::report {

namespace {

// File systems limit a name to 255 bytes (UTF-8 here) or 255 UTF-16 units (Windows); the serial
// keeps at most this many UTF-8 bytes, leaving room for the stem, " (NNNN)" and ".docx".
constexpr qsizetype MaxSerialBytes = 200;
// Numbered names tried before giving up: " (2)" .. " (9999)".
constexpr int MaxNameNumber = 9999;

bool forbiddenInFileName(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || QStringView(u"\\/:*?\"<>|").contains(QChar(c));
}

QString safeSerial(const QString& serial)
{
    QString out;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < serial.size(); ++i) {
        QString piece;
        const QChar c = serial[i];
        if (c.isHighSurrogate() && i + 1 < serial.size() && serial[i + 1].isLowSurrogate()) {
            piece = serial.mid(i, 2);
            ++i;
        } else if (c.isSurrogate() || forbiddenInFileName(c.unicode())) {
            piece = QStringLiteral("_");
        } else {
            piece = c;
        }
        bytes += piece.toUtf8().size();
        if (bytes > MaxSerialBytes)
            break;
        out += piece;
    }
    // Windows drops trailing dots and blanks from a name, so they would not survive a save.
    for (qsizetype i = out.size() - 1; i >= 0 && (out[i] == u'.' || out[i] == u' '); --i)
        out[i] = u'_';
    return out;
}

QString numberedName(const QString& serial, int number)
{
    QString name = texts::report::FileNameStem.toString();
    const QString safe = safeSerial(serial);
    if (!safe.isEmpty())
        name += u' ' + safe;
    if (number > 1)
        name += QStringLiteral(" (%1)").arg(number);
    return name + QStringLiteral(".docx");
}

bool nameTaken(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

QString protocolFileName(const QString& serialNumber)
{
    return numberedName(serialNumber, 1);
}

SavedProtocol saveProtocolDocx(const ProtocolDocument& document, const QString& folder)
{
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return {{},
                UserMessage::failure(
                    texts::report::CannotCreateFolder.toString().arg(QDir::toNativeSeparators(folder)))};

    const std::optional<QByteArray> bytes = protocolDocxBytes(document);
    if (!bytes)
        return {{}, UserMessage::failure(texts::report::CannotAssembleDocx.toString())};

    const QDir dir(folder);
    for (int number = 1; number <= MaxNameNumber; ++number) {
        const QString path = dir.filePath(numberedName(document.serialNumber, number));
        // Claim the name first (create-only), so an earlier protocol, or one another program
        // saves at the same moment, is never overwritten; then write it whole through a
        // temporary file.
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (nameTaken(path))
                continue;
            return {{}, UserMessage::failure(systemErrorText(claim.errorString()))};
        }
        claim.close();

        if (const QString error = saveWholeFile(path, *bytes); !error.isEmpty()) {
            QFile::remove(path);
            return {{}, UserMessage::failure(error)};
        }
        return {path, {}};
    }
    return {
        {},
        UserMessage::failure(texts::report::NoFreeFileName.toString().arg(QDir::toNativeSeparators(folder)))};
}

SaveProtocol stationProtocols(const AppState& plan, const QString& folder)
{
    return [plan = std::make_shared<const AppState>(plan), folder](const QString& serialNumber) {
        const SavedProtocol saved = saveProtocolDocx(buildProtocolDocument(*plan, serialNumber), folder);
        return FleetProtocol{saved.path, saved.error};
    };
}

} // namespace yalmera::report
