#include "datafile/BodyFields.h"

#include <charconv>

namespace {

std::string_view Field(const std::string& body, std::size_t pos, std::size_t width)
{
    if (pos >= body.size())
        return {};
    std::string_view field(body.data() + pos, std::min(width, body.size() - pos));
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    return field;
}

} // namespace

long long FieldInt(const std::string& body, std::size_t pos, std::size_t width)
{
    const std::string_view field = Field(body, pos, width);
    long long value = 0;
    std::from_chars(field.data(), field.data() + field.size(), value);
    return value;
}

float FieldFloat(const std::string& body, std::size_t pos, std::size_t width)
{
    const std::string_view field = Field(body, pos, width);
    double value = 0;
    std::from_chars(field.data(), field.data() + field.size(), value);
    return static_cast<float>(value);
}
