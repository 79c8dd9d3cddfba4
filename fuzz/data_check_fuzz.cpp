// The data check on a plan read from arbitrary bytes, as "Чтение файла" and "Контроль" run it:
// exactly one message, the plan itself untouched, and a plan that passes gives a write stream of
// 26 + 18 x channelCount bytes that the station's read-back turns into the same frequencies.

#include "fuzz_check.h"

#include "files/plan_file.h"
#include "image/data_check.h"
#include "image/read_back.h"
#include "model/number_text.h"
#include "session/app_state.h"

using namespace yalmera;

namespace {

void checkReadBack(const AppState& state)
{
    const DeviceImage& image = state.image();
    const QByteArray readStream =
        encodeReadStream(image, 0x012345, moduleCode(state.moduleType()), state.stationType().typeCode);
    const ReadStreamDecode decoded = decodeReadStream(readStream, state.stationType());
    // Every code the check encodes is one the read-back knows.
    FUZZ_CHECK(decoded.ok());
    const ChannelTable& table = decoded.readBack->table;
    FUZZ_CHECK(table.channelCount() == state.table().channelCount());
    for (int row = 1; row <= table.channelCount(); ++row) {
        for (const Column column : {Column::RxFrequency, Column::TxFrequency}) {
            const std::optional<double> sent = parseDecimal(state.table().cell(column, row));
            if (!sent)
                continue; // a repeater mark
            FUZZ_CHECK(parseDecimal(table.cell(column, row)) == sent);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 256 * 1024)
        return 0;
    files::PlanDecodeResult read = files::decodePlan(fuzz::bytesOf(data, size));
    if (!read.contents)
        return 0;

    AppState state;
    state.adoptPlanFile(std::move(*read.contents));
    const GeneralSettings settings = state.settings();
    const ChannelTable table = state.table();
    const DeviceImage imageBefore = state.image();

    const CheckResult result = runDataCheck(state);
    FUZZ_CHECK(!result.message.isEmpty());
    FUZZ_CHECK(result.passed == state.dataChecked());
    FUZZ_CHECK(state.settings() == settings);
    FUZZ_CHECK(state.table() == table);
    if (!result.passed) {
        // A stopped check leaves the image of the last good check.
        FUZZ_CHECK(state.image() == imageBefore);
        return 0;
    }

    FUZZ_CHECK(state.image().channelCount == table.channelCount());
    FUZZ_CHECK(state.image().channelCount <= DeviceImage::MaxRecords);
    FUZZ_CHECK(state.settingsDigitCount() <= 47);
    const QByteArray stream =
        state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
    FUZZ_CHECK(stream.size() == 26 + 18 * state.image().channelCount);
    FUZZ_CHECK(static_cast<quint8>(stream[0]) == WriteCommand);
    checkReadBack(state);

    // The same plan checked again gives the same image.
    const DeviceImage first = state.image();
    FUZZ_CHECK(runDataCheck(state).passed);
    FUZZ_CHECK(state.image() == first);
    return 0;
}
