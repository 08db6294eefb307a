# Run by CPack between installing into its staging folder and packing it: the commands move
# from bin/ to games/ below the prefix.
set(prefix "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${prefix}/${CPACK_FYREL_INSTALL_BINDIR}")
    message(FATAL_ERROR "no ${CPACK_FYREL_INSTALL_BINDIR}/ in the staged package at ${prefix}")
endif()
file(RENAME "${prefix}/${CPACK_FYREL_INSTALL_BINDIR}" "${prefix}/${CPACK_FYREL_GAMES_BINDIR}")
