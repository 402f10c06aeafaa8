#include "Dialogs.h"

Dialogs::~Dialogs() = default;
