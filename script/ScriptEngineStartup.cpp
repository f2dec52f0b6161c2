#include "ScriptEngineStartup.h"

#include "ScriptEngineOptions.h"

#include <cstddef>
#include <sys/mman.h>

namespace kinora {

namespace {

constexpr std::size_t mebibyte = std::size_t(1) << 20;
// What the engine reserves at start-up, measured, with room for its first heap blocks.
constexpr std::size_t codeReservation = 1024 * mebibyte + 64 * mebibyte;
constexpr std::size_t shapeReservation = 4352 * mebibyte + 256 * mebibyte;

// Reserves (without committing) size bytes of address space until destroyed.
class Reservation {
public:
    explicit Reservation(std::size_t size)
        : size(size), address(mmap(nullptr, size, PROT_NONE,
                                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0)) {}
    ~Reservation() {
        if (succeeded()) {
            munmap(address, size);
        }
    }
    Reservation(const Reservation&) = delete;
    Reservation& operator=(const Reservation&) = delete;
    bool succeeded() const { return address != MAP_FAILED; }

private:
    std::size_t size;
    void* address;
};

std::optional<std::string> tryStart() {
    if (!ScriptEngineOptions::apply()) {
        return "The script engine did not accept its settings.";
    }
    const Reservation code(codeReservation);
    const Reservation shapes(shapeReservation);
    if (!code.succeeded() || !shapes.succeeded()) {
        return "The script engine cannot start: it needs about 6 GB of address space, more than "
               "this process may use (see \"ulimit -v\"). Built-in systems still work.";
    }
    return std::nullopt;
}

} // namespace

const std::optional<std::string>& ScriptEngineStartup::failure() {
    static const std::optional<std::string> reason = tryStart();
    return reason;
}

} // namespace kinora
