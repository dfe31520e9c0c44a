#pragma once

#include <string>

// Reading numbers from fixed-width fields of a decoded body. A field that
// reaches past the end of the body reads what is there; a field with no
// number reads 0. The decimal point is always ".", whatever the locale.
long long FieldInt(const std::string& body, std::size_t pos, std::size_t width);
float FieldFloat(const std::string& body, std::size_t pos, std::size_t width);
