#pragma once

#include "Parameter.h"

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QComboBox;
class QObject;

// The pop-up buttons that choose the parameter each axis of the parameter-space view shows, x,
// y and z: item 0 is "None", item k + 1 is parameter k, so an axis' mapping entry is its
// selected item - 1 (-1 for none).
class KNAxisPopups {
public:
    // Fills the pop-ups, selects the mapping, and calls changed whenever the user picks an item,
    // for as long as context lives.
    KNAxisPopups(const std::array<QComboBox*, 3>& popups,
                 const std::vector<kinora::Parameter>& parameters,
                 const std::array<std::int32_t, 3>& mapping, const std::function<void()>& changed,
                 QObject* context);

    // The mapping the pop-ups select.
    std::array<std::int32_t, 3> mapping() const;

private:
    std::array<QComboBox*, 3> popups;
};
