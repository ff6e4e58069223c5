#include "screens/main/text_pages.h"

#include "screens/main/main_screen.h"

TextPages::TextPages(MainScreen& screen) : QObject(&screen), s(screen) {}
