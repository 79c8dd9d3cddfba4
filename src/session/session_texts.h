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

// A station compared with the program's plan: what keeps the comparison from starting; %1 the
// data check's refusal.
inline constexpr QStringView NothingToCompare =
    u"Нет плана для сравнения: создайте шаблон, прочитайте файл или станцию.";
inline constexpr QStringView CompareRefused = u"План не сравнить со станцией: он не проходит «Контроль».\n%1";

} // namespace yalmera::texts::session
