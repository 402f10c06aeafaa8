#pragma once

#include <QLibrary>
#include <type_traits>

// Loading an engine's client library at run time, and finding its functions in it.
namespace EngineLibrary {

// Loads the library, its symbols looked up among its own first where that is safe (see the .cpp).
bool load(QLibrary& library);

// Sets function to the library's function of that name; false when the library has none.
template <typename Function> bool resolve(QLibrary& library, Function& function, const char* name) {
    function = reinterpret_cast<std::remove_reference_t<Function>>(library.resolve(name));
    return function != nullptr;
}

} // namespace EngineLibrary
