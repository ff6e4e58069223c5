#include "screens/titles/title_commands.h"

#include "screens/main/main_screen.h"

TitleCommands::TitleCommands(MainScreen& screen) : QObject(&screen), s(screen) {}
