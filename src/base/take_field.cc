#include "base/take_field.h"

namespace kav::base {

void TakeField(std::string& source, const std::string& delimiter, std::string& field) {
    const std::size_t at = delimiter.empty() ? std::string::npos : source.find(delimiter);
    if (at == std::string::npos) {
        field = source;
        return;
    }
    field = source.substr(0, at);
    source.erase(0, at + delimiter.size());
}

}  // namespace kav::base
