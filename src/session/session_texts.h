#pragma once

#include <QStringView>

// The session's own texts: the words of the exchange journal.
namespace yalmera::texts::session {

// The exchange journal's operations and outcomes.
inline constexpr QStringView JournalWrite = u"запись";
inline constexpr QStringView JournalRead = u"чтение";
inline constexpr QStringView JournalVerify = u"проверка";
// A station read and compared with a plan file without writing it (yalmera-cli verify).
inline constexpr QStringView JournalAudit = u"сверка";
inline constexpr QStringView JournalProtocol = u"протокол";
inline constexpr QStringView JournalCompleted = u"выполнено";
inline constexpr QStringView JournalRefused = u"отказ";
inline constexpr QStringView JournalOpenFailed = u"порт не открыт";
inline constexpr QStringView JournalTimedOut = u"нет ответа";
inline constexpr QStringView JournalLinkFailed = u"сбой линии";
inline constexpr QStringView JournalCancelled = u"прервано";
inline constexpr QStringView JournalDiffers = u"не совпадает";

} // namespace yalmera::texts::session
