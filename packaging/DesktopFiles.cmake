# Included by CMakeLists.txt: what desktops and distributions expect beside the game. The menu
# entry (named by the application id, with the game's icon), the icon in every size in the
# hicolor theme, the AppStream metadata for software centres, the manual page, the copyright
# (DEP-5) and the changelog, each made from the few facts below.

# Who the game is, for the menu, software centres, the manual page and the package. The
# application id names the menu entry's file, the icon and the AppStream file.
set(FYREL_APP_ID org.fyrel.Fyrel)
set(FYREL_SUMMARY
    "Steer an alien from planet to planet and collect the ${FYREL_ORB_COUNT_WORD} light orbs")
set(FYREL_CATEGORIES Game ActionGame)
set(FYREL_KEYWORDS alien planet space orb jump)
set(FYREL_DEVELOPERS "Fyrel developers")
set(FYREL_MAINTAINER "${FYREL_DEVELOPERS} <developers@fyrel.org>")
set(FYREL_HOMEPAGE "https://fyrel.org/")
# When PROJECT_VERSION was released, in seconds since 1970 (UTC); also the date the manual page
# shows, so that building again writes the same bytes.
set(FYREL_RELEASE_EPOCH 1796601600)

set(FYREL_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/fyrel)

# The icon files of the manifest, by size, into the icon theme every desktop searches.
file(STRINGS ${FYREL_ASSET_MANIFEST} icon_entries REGEX "^FYREL_ICON\\(")
foreach(entry IN LISTS icon_entries)
    if(NOT entry MATCHES "^FYREL_ICON\\(([0-9]+), \"([^\"]+)\"\\)$")
        message(FATAL_ERROR "asset manifest: cannot read the icon \"${entry}\"")
    endif()
    install(FILES ${FYREL_RUN_DIR}/${CMAKE_MATCH_2}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${CMAKE_MATCH_1}x${CMAKE_MATCH_1}/apps
        RENAME ${FYREL_APP_ID}.png)
endforeach()

# Dates of the release, formatted by CMake from FYREL_RELEASE_EPOCH.
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} ${FYREL_RELEASE_EPOCH})
string(TIMESTAMP FYREL_RELEASE_DATE "%Y-%m-%d" UTC)
string(TIMESTAMP FYREL_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP FYREL_COPYRIGHT_YEARS "%Y" UTC)
if(saved_epoch STREQUAL "")
    unset(ENV{SOURCE_DATE_EPOCH})
else()
    set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")
endif()

# The long description, written once in description.txt.in (paragraphs apart by an empty line),
# as AppStream paragraphs and as manual page paragraphs; the package takes the file itself.
set(FYREL_DESCRIPTION_FILE ${CMAKE_CURRENT_BINARY_DIR}/description.txt)
configure_file(description.txt.in ${FYREL_DESCRIPTION_FILE} @ONLY)
file(READ ${FYREL_DESCRIPTION_FILE} description)
string(STRIP "${description}" description)
string(REGEX REPLACE "\n\n+" "<PARAGRAPH>" description "${description}")
string(REPLACE "\n" " " description "${description}")
string(REPLACE "<PARAGRAPH>" "</p>\n    <p>" FYREL_METAINFO_DESCRIPTION "    <p>${description}</p>")
string(REPLACE "<PARAGRAPH>" "\n.PP\n" FYREL_MAN_DESCRIPTION ".PP\n${description}")

string(JOIN ";" FYREL_DESKTOP_CATEGORIES ${FYREL_CATEGORIES} "")
string(JOIN ";" FYREL_DESKTOP_KEYWORDS ${FYREL_KEYWORDS} "")
list(TRANSFORM FYREL_CATEGORIES REPLACE "(.+)" "    <category>\\1</category>" OUTPUT_VARIABLE lines)
string(JOIN "\n" FYREL_METAINFO_CATEGORIES ${lines})
list(TRANSFORM FYREL_KEYWORDS REPLACE "(.+)" "    <keyword>\\1</keyword>" OUTPUT_VARIABLE lines)
string(JOIN "\n" FYREL_METAINFO_KEYWORDS ${lines})

set(FYREL_DESKTOP_ENTRY ${CMAKE_CURRENT_BINARY_DIR}/${FYREL_APP_ID}.desktop)
set(FYREL_METAINFO ${CMAKE_CURRENT_BINARY_DIR}/${FYREL_APP_ID}.metainfo.xml)
configure_file(fyrel.desktop.in ${FYREL_DESKTOP_ENTRY} @ONLY)
configure_file(fyrel.metainfo.xml.in ${FYREL_METAINFO} @ONLY)
configure_file(copyright.in ${CMAKE_CURRENT_BINARY_DIR}/copyright @ONLY)
configure_file(changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
install(FILES ${FYREL_DESKTOP_ENTRY} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${FYREL_METAINFO} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# ---- manual page and documents, compressed as Debian wants them ----

find_program(FYREL_HELP2MAN help2man REQUIRED)
find_program(FYREL_SED sed REQUIRED)
find_program(FYREL_GZIP gzip REQUIRED)
string(TOLOWER "${FYREL_SUMMARY}" FYREL_SUMMARY_LOWER)
configure_file(fyrel.h2m.in ${CMAKE_CURRENT_BINARY_DIR}/fyrel.h2m @ONLY)
set(FYREL_MANUAL_PAGE ${CMAKE_CURRENT_BINARY_DIR}/fyrel.6)
set(documents ${CMAKE_CURRENT_BINARY_DIR}/changelog ${FYREL_MANUAL_PAGE})
# Written from what the game itself says to --help and --version, so the two never drift
# apart; fyrel.h2m adds what --help does not say. help2man makes the headings of --help
# ("Controls:", "Exit status:") subsections of OPTIONS; they become sections of their own.
add_custom_command(
    OUTPUT ${FYREL_MANUAL_PAGE}
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${FYREL_RELEASE_EPOCH}
        ${FYREL_HELP2MAN} --no-info --section=6 --include=${CMAKE_CURRENT_BINARY_DIR}/fyrel.h2m
        --output=${FYREL_MANUAL_PAGE} $<TARGET_FILE:fyrel>
    COMMAND ${FYREL_SED} -i -e "s/^\\.SS \"\\(.*\\):\"$/.SH \"\\U\\1\"/" ${FYREL_MANUAL_PAGE}
    DEPENDS fyrel ${CMAKE_CURRENT_BINARY_DIR}/fyrel.h2m
    COMMENT "Writing the manual page from fyrel --help"
    VERBATIM)
install(FILES ${FYREL_MANUAL_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
set(compressed)
foreach(file IN LISTS documents)
    # -n: no name or time stamp inside, so the same input gives the same bytes.
    add_custom_command(
        OUTPUT ${file}.gz
        COMMAND ${FYREL_GZIP} -9n --force --keep ${file}
        DEPENDS ${file}
        VERBATIM)
    list(APPEND compressed ${file}.gz)
endforeach()
add_custom_target(fyrel_documents ALL DEPENDS ${compressed})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
    DESTINATION ${FYREL_INSTALL_DOCDIR})
