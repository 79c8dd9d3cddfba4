#include "station_exchanges.h"

#include "session/app_state.h"

namespace yalmera {

WriteRequest writeRequest(const AppState& state, const QString& port)
{
    WriteRequest request;
    request.port = port;
    request.dataChecked = state.dataChecked();
    request.stream = state.image().writeStream(moduleCode(state.moduleType()), state.stationType().typeCode);
    return request;
}

ReadRequest readRequest(const AppState& state, const QString& port)
{
    ReadRequest request;
    request.port = port;
    request.stationType = state.stationType();
    return request;
}

} // namespace yalmera
