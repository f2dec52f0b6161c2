#include "SystemPathDriver.h"

namespace kinora {

bool SystemPathDriver::advance(const KinoraSystem& system, PathCursor& cursor, std::int32_t count,
                               double* states, EvolutionOutcome&) {
    for (std::int32_t k = 0; k < count; ++k) {
        cursor.state = system.advance(cursor.time, cursor.state);
        double* out = states + 3 * static_cast<std::size_t>(cursor.index);
        out[0] = cursor.state.x;
        out[1] = cursor.state.y;
        out[2] = cursor.state.z;
        cursor.time += pathTimeIncrement;
        ++cursor.index;
    }
    return true;
}

} // namespace kinora
