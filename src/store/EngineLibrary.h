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

// The library's functions, loaded and resolved once for the program's run, or nullptr where the library or
// one of its functions is missing. Functions has a member for each function and visit() (see below).
template <typename Functions> const Functions* loadOnce(const char* name, int version) {
    static const Functions* const resolved = [&]() -> const Functions* {
        static QLibrary library(QString::fromLatin1(name), version);
        if (!load(library))
            return nullptr;
        static Functions functions;
        bool all = true;
        functions.visit(
            [&all](auto& function, const char* symbol) { all = resolve(library, function, symbol) && all; });
        return all ? &functions : nullptr;
    }();
    return resolved;
}

} // namespace EngineLibrary

// The members of an engine's functions, given as a list LIST(X) of X(name): a member of each function's
// type, and visit(), calling visitor(member, "name") for each.
#define ZLV_ENGINE_FUNCTION(name) decltype(&::name) name = nullptr;
#define ZLV_ENGINE_VISIT(name) visitor(name, #name);
#define ZLV_ENGINE_FUNCTIONS(LIST)                                                                           \
    LIST(ZLV_ENGINE_FUNCTION)                                                                                \
    template <typename Visitor> void visit(Visitor visitor) {                                                \
        LIST(ZLV_ENGINE_VISIT)                                                                               \
    }
