# The program as a desktop application: Qt's own texts in Japanese, the install
# under the prefix with a launcher and an icon, and the Debian package.

find_package(Qt6 REQUIRED COMPONENTS Network)
add_library(hoshi_app STATIC app/qt_japanese.cpp app/qt_japanese.h
  app/single_instance.cpp app/single_instance.h)
target_include_directories(hoshi_app PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(hoshi_app PUBLIC Qt6::Core Qt6::Network)
target_link_libraries(hoshinote PRIVATE hoshi_app)
target_link_libraries(hoshi_screenshots PRIVATE hoshi_app)
target_link_libraries(hoshi_outside_change_shots PRIVATE hoshi_app)

include(GNUInstallDirs)
set(HOSHI_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/hoshinote)

# The launcher finds the sample and the program relative to itself, so the
# package's prefix may differ from the one configured here.
file(RELATIVE_PATH HOSHI_SHARE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_PREFIX}/${HOSHI_SHARE_DIR})
configure_file(desktop/hoshinote-start.in hoshinote-start @ONLY)

install(TARGETS hoshinote RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/hoshinote-start DESTINATION ${CMAKE_INSTALL_BINDIR})
# The help document lives beside the sample, not under doc/, which minimal
# systems leave out: the launcher copies it into a new catalogue.
install(FILES help/HoshinoteHelp.html DESTINATION ${HOSHI_SHARE_DIR})
install(DIRECTORY sample/ DESTINATION ${HOSHI_SHARE_DIR}/sample)
install(FILES desktop/hoshinote.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES desktop/icons/hoshinote.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
  install(FILES desktop/icons/hoshinote-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME hoshinote.png)
endforeach()

if(HOSHI_TESTS)
  if(TARGET app_tests)
    target_link_libraries(app_tests PRIVATE hoshi_app)
    # The one-window tests start the program itself.
    add_dependencies(app_tests hoshinote)
    target_compile_definitions(app_tests PRIVATE HOSHINOTE_BINARY="$<TARGET_FILE:hoshinote>")
  endif()
  add_test(NAME desktop_file_valid
    COMMAND desktop-file-validate ${CMAKE_CURRENT_SOURCE_DIR}/desktop/hoshinote.desktop)
  add_test(NAME launcher_makes_catalogue_once
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tests/app/launcher_test.sh
      ${CMAKE_CURRENT_BINARY_DIR}/hoshinote-start ${HOSHI_SHARE_FROM_BIN})
endif()

set(CPACK_PACKAGE_NAME hoshinote)
set(CPACK_PACKAGE_VERSION 0.1.0)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "film catalogue for Japanese-speaking users")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "ホシノートＷ keeps the films you own and have watched: director, lead actor,\n"
  "release, country, genre, ratings, scores, ownership, cast, synopsis, memo,\n"
  "a picture and the viewing history, in plain Shift_JIS text files of one\n"
  "folder. Started from the menu it opens ~/.local/share/hoshinote/catalogue,\n"
  "made from a sample catalogue on first start.")
set(CPACK_PACKAGE_CONTACT "hoshinote developers <hoshinote@localhost>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The Qt libraries come from dpkg-shlibdeps; what the program loads at run time
# is named here: the Japanese font it draws with and Qt's Japanese texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n, qt6-image-formats-plugins")
# Japanese is typed through an input method; Qt's own ibus frontend comes with
# libqt6gui6, fcitx5's is a package of its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fcitx5-frontend-qt6")
include(CPack)
