#include "screens/main/viewing_entry.h"

#include "screens/main/main_screen.h"

ViewingEntry::ViewingEntry(MainScreen& screen) : QObject(&screen), s(screen) {}
