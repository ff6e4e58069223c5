#include "screens/screens.h"

#include "screens/main/field_editing.h"
#include "screens/main/main_screen.h"
#include "screens/main/text_pages.h"
#include "screens/main/viewing_entry.h"
#include "screens/masters/master_screen.h"
#include "screens/titles/title_commands.h"
#include "window/frm_main.h"

void AttachScreens(frmMain& window) {
    auto* main = new MainScreen(window);
    new FieldEditing(*main);
    new TextPages(*main);
    new ViewingEntry(*main);
    new TitleCommands(window);
    new MasterScreen(window);
}
