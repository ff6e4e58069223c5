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
install(FILES desktop/io.github.hoshinote.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES desktop/io.github.hoshinote.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Debian's usual hardening for what users run: fortified string and memory
# calls, and every symbol bound at start so the tables can be read-only.
get_property(hoshi_targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
foreach(t ${hoshi_targets})
  get_target_property(type ${t} TYPE)
  if(type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "EXECUTABLE")
    target_compile_options(${t} PRIVATE
      "$<$<CONFIG:Release>:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
  endif()
  if(type STREQUAL "EXECUTABLE")
    target_link_options(${t} PRIVATE "$<$<CONFIG:Release>:LINKER:-z,relro,-z,now>")
  endif()
endforeach()

# What Debian's policy asks of every package: the copyright, the changelog
# (compressed, without a time stamp), the manual pages, and the reason for the
# one warning lintian gives.
set(HOSHI_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/hoshinote)
set(HOSHI_GZ ${CMAKE_CURRENT_BINARY_DIR}/gz)
set(hoshi_gz_files)
foreach(pair "debian/changelog=changelog" "man/hoshinote.1=hoshinote.1"
    "man/ja/hoshinote.1=ja/hoshinote.1")
  string(REPLACE "=" ";" pair ${pair})
  list(GET pair 0 from)
  list(GET pair 1 to)
  add_custom_command(OUTPUT ${HOSHI_GZ}/${to}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${HOSHI_GZ}/ja
    COMMAND sh -c "gzip -9n -c \"$1\" >\"$2\"" gzip
      ${CMAKE_CURRENT_SOURCE_DIR}/desktop/${from} ${HOSHI_GZ}/${to}.gz
    DEPENDS desktop/${from} VERBATIM)
  list(APPEND hoshi_gz_files ${HOSHI_GZ}/${to}.gz)
endforeach()
add_custom_target(hoshi_package_docs ALL DEPENDS ${hoshi_gz_files})
install(FILES desktop/debian/copyright DESTINATION ${HOSHI_DOC_DIR})
install(FILES ${HOSHI_GZ}/changelog.gz DESTINATION ${HOSHI_DOC_DIR})
install(FILES ${HOSHI_GZ}/hoshinote.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${HOSHI_GZ}/ja/hoshinote.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
# hoshinote-start is described on the same page.
install(CODE "
  foreach(dir man1 ja/man1)
    set(page \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_MANDIR}/\${dir}/hoshinote-start.1.gz)
    file(CREATE_LINK hoshinote.1.gz \${page} SYMBOLIC)
  endforeach()")
install(FILES desktop/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  RENAME hoshinote)
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
    COMMAND desktop-file-validate ${CMAKE_CURRENT_SOURCE_DIR}/desktop/io.github.hoshinote.desktop)
  add_test(NAME metainfo_valid
    COMMAND appstreamcli validate --no-net ${CMAKE_CURRENT_SOURCE_DIR}/desktop/io.github.hoshinote.metainfo.xml)
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
set(CPACK_PACKAGE_CONTACT "Hoshinote Developers <hoshinote@users.noreply.github.com>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The Qt libraries come from dpkg-shlibdeps; what the program loads at run time
# is named here: the Japanese font it draws with and Qt's Japanese texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Film details come over HTTPS: the certificates that TLS checks TMDB against
# (Qt's network module and ICU come from dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n, qt6-image-formats-plugins, ca-certificates")
# Japanese is typed through an input method: fcitx5 with mozc and its Qt 6
# frontend (Qt's own ibus frontend comes with libqt6gui6, for ibus-mozc), and a
# Wayland session needs Qt's Wayland platform.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "qt6-wayland, fcitx5, fcitx5-frontend-qt6, fcitx5-mozc | ibus-mozc")
include(CPack)
