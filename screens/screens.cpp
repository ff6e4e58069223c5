#include "screens/screens.h"

#include "logic/merge.h"
#include "screens/images/gallery_screen.h"
#include "screens/lists/list_screens.h"
#include "screens/lookup/lookup.h"
#include "screens/main/field_editing.h"
#include "screens/main/main_screen.h"
#include "screens/main/picture_import.h"
#include "screens/main/text_pages.h"
#include "screens/main/viewing_entry.h"
#include "screens/masters/master_screen.h"
#include "screens/rankings/rank_screen.h"
#include "screens/search/search_screen.h"
#include "screens/titles/csv_import.h"
#include "screens/titles/title_commands.h"
#include "screens/viewing/history_screen.h"
#include "window/accessible.h"
#include "window/frm_main.h"
#include "window/shortcuts.h"

void AttachScreens(frmMain& window) {
    InstallAccessibleNames();
    // What another program changed in a file is merged in before a write.
    window.folder.setMerger(&logic::MergeOwnFile);
    auto* main = new MainScreen(window);
    new FieldEditing(*main);
    new TextPages(*main);
    new ViewingEntry(*main);
    new PictureImport(*main);
    new TitleCommands(window);
    new SearchScreen(window);
    new GalleryScreen(window);
    new HistoryScreen(window);
    new RankScreen(window);
    new ListScreens(window);
    new MasterScreen(window);
    new CsvImport(window);
    new Lookup(window, main->cmdLookup);
    InstallShortcuts(window);
}
