// An error that says where in its input it lies. Each kind of input names the place in its
// own terms (a file, a JSON pointer, a byte offset, a line) and is caught as its own type.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace velkano::tool {

template <typename Place>
class ErrorAt : public std::runtime_error {
public:
    ErrorAt(Place place, const std::string& message)
        : std::runtime_error(message), place_(std::move(place)) {}

protected:
    const Place& place() const { return place_; }

private:
    Place place_;
};

}  // namespace velkano::tool
