# The program's translations are built into it as resources (src/app/CMakeLists.txt) and need
# no install rule. Should they ever become files, share/lumenquill/translations is their place:
# a target named lumenquill_translations that lists its .qm files in its LQ_QM_FILES property
# gets them installed (and so packaged) here.
if(TARGET lumenquill_translations)
    get_target_property(LQ_QM_FILES lumenquill_translations LQ_QM_FILES)
    if(LQ_QM_FILES)
        install(FILES ${LQ_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/lumenquill/translations)
    endif()
endif()

# `cpack` in the build folder makes lumenquill_VERSION_ARCH.deb from the install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumenquill)
set(CPACK_PACKAGE_VENDOR "The LumenQuill developers")
set(CPACK_PACKAGE_CONTACT "The LumenQuill developers <lumenquill@users.noreply.github.com>")
# A synopsis without a leading article, and a description of a few lines, as Debian has them.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "daily journal: one plain-text note per calendar day")
set(CPACK_PACKAGE_DESCRIPTION
    "LumenQuill keeps one note for every calendar day, picked on a month calendar.
It opens on today's note, saves as you type, and turns hashtags into tags
that gather their notes as cards. The journal is one SQLite file in the
user's data folder.")
set(CPACK_STRIP_FILES ON)
# Directories in the package are 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# dpkg-shlibdeps finds the libraries the binary links (Qt, libstdc++); it cannot see the
# plugins Qt loads at run time: the SQLite driver that opens the journal, the SVG icon engine
# for the toolbar icons, and the hicolor theme the menu's icon is looked up in. Qt 6.4's xcb
# platform comes with libqt6gui6 and needs no libxcb-cursor0.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6svg6, hicolor-icon-theme")
# Qt's own translations put the standard buttons and dialogs into the user's language.
# libenchant-2-2 is found by dpkg-shlibdeps; the dictionaries it checks spelling with are
# recommended: without any, LumenQuill works as before and its context menu says so.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-dejavu-core, qt6-wayland, qt6-translations-l10n, hunspell-en-us, hunspell-de-de")

include(CPack)
