#include "core/TaggedValue.h"

#include <sstream>

namespace tollen {

std::string toText(const TaggedValue &value)
{
    struct Converter
    {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(std::int16_t number) const { return std::to_string(number); }
        std::string operator()(std::int32_t number) const { return std::to_string(number); }
        std::string operator()(const std::string &text) const { return text; }
        std::string operator()(const ByteArray &bytes) const
        {
            return {bytes.begin(), bytes.end()};
        }
        std::string operator()(bool flag) const { return flag ? "True" : "False"; }
        std::string operator()(DateTime time) const
        {
            std::ostringstream text;
            text << time.days;
            return text.str();
        }
    };
    return std::visit(Converter{}, value);
}

} // namespace tollen
