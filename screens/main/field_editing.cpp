#include "screens/main/field_editing.h"

#include "screens/main/main_screen.h"

FieldEditing::FieldEditing(MainScreen& screen) : QObject(&screen), s(screen) {}
