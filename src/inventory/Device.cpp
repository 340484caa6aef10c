#include "inventory/Device.h"

namespace tollen::inventory {

std::string_view describe(DriverStatus status)
{
    switch (status) {
    case DriverStatus::Ok:
        return "ok";
    case DriverStatus::None:
        return "none";
    case DriverStatus::Problem:
        return "problem";
    case DriverStatus::Unknown:
        break;
    }
    return "unknown";
}

} // namespace tollen::inventory
