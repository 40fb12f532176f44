# Installs the build into a fresh prefix and starts the installed program.
# cmake -DBUILD_DIR=... -DPREFIX=... -DVERSION=... -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(rc)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()
foreach(f bin/kachikoshi share/applications/kachikoshi.desktop
          share/icons/hicolor/scalable/apps/kachikoshi.svg
          share/icons/hicolor/256x256/apps/kachikoshi.png)
    if(NOT EXISTS "${PREFIX}/${f}")
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()
file(STRINGS "${PREFIX}/share/applications/kachikoshi.desktop" exec REGEX "^Exec=")
if(NOT exec STREQUAL "Exec=kachikoshi")
    message(FATAL_ERROR "desktop entry starts '${exec}', not the installed kachikoshi")
endif()
execute_process(COMMAND "${PREFIX}/bin/kachikoshi" --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(rc OR NOT out MATCHES "kachikoshi ${VERSION}")
    message(FATAL_ERROR "installed --version: ${rc} ${out}")
endif()
# The installed program builds (and publishes) a contest with its own resources.
execute_process(COMMAND "${PREFIX}/bin/kachikoshi" --dir "${PREFIX}/demo" demo --entries 5
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc)
    message(FATAL_ERROR "installed demo: ${rc} ${out} ${err}")
endif()
foreach(f html/Result.html html/Kachi1.css html/pic/WPaper.GIF)
    if(NOT EXISTS "${PREFIX}/demo/${f}")
        message(FATAL_ERROR "the installed demo did not publish ${f}")
    endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
