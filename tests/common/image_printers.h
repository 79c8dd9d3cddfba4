#pragma once

#include "common/qt_printers.h"

#include "image/device_image.h"
#include "image/field_codec.h"
#include "image/read_back.h"
#include "image/station_model.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// Images, streams and plans in GoogleTest's failure output by field name and value, and
// assertions that name the fields two images or streams differ in:
// "header FvCode: 0x12 ≠ 0x21", "record 1 RxCode: 0x01 ≠ 0x08".

namespace yalmera {

namespace printing {

inline std::string hex(quint32 value, int width)
{
    return "0x" + QString::number(value, 16).toUpper().rightJustified(2 * width, u'0').toStdString();
}

// The header fields of the contents that the image keeps, with the settings value each stands for.
inline void printHeader(const StreamContents& contents, std::ostream* os)
{
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderFieldLayout& row = HeaderFields[i];
        if (row.readBack == ReadBackRule::NotInImage)
            continue;
        if (opensPlace(HeaderFields, i))
            *os << "\n  " << row.name.toString().toStdString() << ' '
                << hex(headerValue(contents, row), row.width);
        if (!row.key.isEmpty())
            *os << " (" << row.key.toString().toStdString() << '=' << settingText(row, contents).toStdString()
                << ')';
    }
}

} // namespace printing

inline void PrintTo(const ChannelRecord& record, std::ostream* os)
{
    for (std::size_t i = 0; i < RecordFields.size(); ++i) {
        if (opensPlace(RecordFields, i))
            *os << (i == 0 ? "" : ", ") << RecordFields[i].name.toString().toStdString() << ' '
                << printing::hex(record.value(RecordFields[i]), RecordFields[i].width);
    }
}

// The header fields, then the records the count names and any other slot that is not empty.
inline void PrintTo(const DeviceImage& image, std::ostream* os)
{
    *os << "image:";
    printing::printHeader({image}, os);
    for (std::size_t i = 0; i < image.records.size(); ++i) {
        if (static_cast<int>(i) < image.channelCount || image.records[i] != ChannelRecord{}) {
            *os << "\n  record " << i + 1 << ": ";
            PrintTo(image.records[i], os);
        }
    }
}

inline void PrintTo(const PlanTexts& plan, std::ostream* os)
{
    PrintTo(plan.settings, os);
    *os << '\n';
    PrintTo(plan.table, os);
}

// A suite's parameter by the model's name.
inline void PrintTo(const StationModel* model, std::ostream* os)
{
    *os << model->caption().toStdString();
}

inline void PrintTo(const ReadBack& readBack, std::ostream* os)
{
    PrintTo(readBack.image, os);
    *os << "\n  module " << int{readBack.moduleType} << ", band code " << int{readBack.typeCode}
        << ", serial number " << readBack.serialNumber.toStdString() << '\n';
    PrintTo(PlanTexts{readBack.settings, readBack.table}, os);
}

} // namespace yalmera

namespace yalmera::test {

// The fields two contents differ in, in stream order, one line each; fields the stream lacks
// are not compared.
inline std::string fieldDifferences(Stream stream, const StreamContents& a, const StreamContents& b)
{
    std::string lines;
    const auto differ = [&lines](const std::string& field, quint32 x, quint32 y, int width) {
        if (x != y)
            lines += "\n  " + field + ": " + printing::hex(x, width) + " ≠ " + printing::hex(y, width);
    };
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderFieldLayout& row = HeaderFields[i];
        if (opensPlace(HeaderFields, i) && row.offset(stream) >= 0)
            differ("header " + row.name.toString().toStdString(), headerValue(a, row), headerValue(b, row),
                   row.width);
    }
    for (std::size_t r = 0; r < a.image.records.size(); ++r) {
        for (std::size_t i = 0; i < RecordFields.size(); ++i) {
            const RecordFieldLayout& row = RecordFields[i];
            if (opensPlace(RecordFields, i))
                differ("record " + std::to_string(r + 1) + ' ' + row.name.toString().toStdString(),
                       a.image.records[r].value(row), b.image.records[r].value(row), row.width);
        }
    }
    return lines;
}

inline testing::AssertionResult SameImage(const char* aText, const char* bText, const DeviceImage& a,
                                          const DeviceImage& b)
{
    if (a == b)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << aText << " and " << bText << " differ:" << fieldDifferences(Stream::Write, {a}, {b});
}

// Two streams of one kind, compared field by field; a stream too short for its header is shown whole.
inline testing::AssertionResult SameStream(Stream stream, const char* aText, const char* bText,
                                           const QByteArray& a, const QByteArray& b)
{
    if (a == b)
        return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << aText << " and " << bText << " differ:";
    if (a.size() != b.size())
        failure << "\n  length: " << a.size() << " ≠ " << b.size();
    const auto x = decodeStream(stream, a);
    const auto y = decodeStream(stream, b);
    if (x && y)
        return failure << fieldDifferences(stream, *x, *y);
    return failure << "\n  " << a.toHex(' ').toStdString() << "\n  " << b.toHex(' ').toStdString();
}
inline testing::AssertionResult SameWriteStream(const char* aText, const char* bText, const QByteArray& a,
                                                const QByteArray& b)
{
    return SameStream(Stream::Write, aText, bText, a, b);
}
inline testing::AssertionResult SameReadStream(const char* aText, const char* bText, const QByteArray& a,
                                               const QByteArray& b)
{
    return SameStream(Stream::Read, aText, bText, a, b);
}

} // namespace yalmera::test
