#include "Libpq.h"

const Libpq* Libpq::get() {
    return EngineLibrary::loadOnce<Libpq>("pq", 5);
}
