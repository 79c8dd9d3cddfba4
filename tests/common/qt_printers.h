#pragma once

#include "model/channel_table.h"
#include "model/user_message.h"

#include <QString>

#include <ostream>

// Readable Qt texts and messages in GoogleTest's failure output.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace yalmera {
// Found by argument-dependent lookup: messages print as their kind and text.
inline void PrintTo(const UserMessage& message, std::ostream* os)
{
    *os << (message.kind == MessageKind::Failure ? "failure " : "notice ") << '"'
        << message.text.toStdString() << '"';
}
inline void PrintTo(Column column, std::ostream* os)
{
    *os << "column " << columnIndex(column);
}
} // namespace yalmera
