#include "EngineLibrary.h"

bool EngineLibrary::load(QLibrary& library) {
    // The library and those it draws in look up their symbols among their own first, not among the
    // program's fifty: loading takes half the time. A library preloaded into the program (a memory
    // checker's allocator), or a sanitizer built in, must see every call, so then the symbols are looked
    // up as usual.
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    if (!qEnvironmentVariableIsSet("LD_PRELOAD"))
        library.setLoadHints(QLibrary::DeepBindHint);
#endif
    return library.load();
}
