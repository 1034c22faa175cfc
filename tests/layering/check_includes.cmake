# Fails when code outside platform/qt and platform/win32 includes a Qt or Windows header: core/,
# windows/ and the rest of platform/ must build and run without either toolkit.
# Usage: cmake -DROOT=<source tree> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)
# Windows SDK headers, matched case-insensitively. Other names that start with "win" count only
# in angle brackets, so that project headers such as "window_system.h" stay allowed.
set(windows_headers
    windows.h windowsx.h commctrl.h commdlg.h mmsystem.h mmreg.h shellapi.h shlobj.h shlwapi.h
    objbase.h ole2.h oleauto.h tchar.h uxtheme.h dwmapi.h richedit.h wtypes.h unknwn.h)
set(violations "")
foreach(dir IN ITEMS core windows platform)
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${ROOT}"
         "${ROOT}/${dir}/*.[ch]" "${ROOT}/${dir}/*.[ch]?" "${ROOT}/${dir}/*.[chi]??")
    foreach(relative IN LISTS files)
        if(relative MATCHES "^platform/(qt|win32)/")
            continue()
        endif()
        file(STRINGS "${ROOT}/${relative}" lines REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS lines)
            if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
                continue()
            endif()
            set(bracket "${CMAKE_MATCH_1}")
            set(header "${CMAKE_MATCH_2}")
            string(TOLOWER "${header}" lower)
            get_filename_component(name "${lower}" NAME)
            set(reason "")
            # Qt: <QWidget>, <QtWidgets/QLabel>, <qtwidgetsglobal.h>, <qglobal.h>.
            if(header MATCHES "^Q[A-Za-z]" OR lower MATCHES "^qt" OR
               (bracket STREQUAL "<" AND header MATCHES "^q[a-z0-9_]*\\.h$"))
                set(reason "Qt header")
            elseif(name IN_LIST windows_headers OR lower MATCHES "^(winrt|wrl)/" OR
                   (bracket STREQUAL "<" AND name MATCHES "^win[a-z0-9_]*\\.h$"))
                set(reason "Windows header")
            endif()
            if(reason)
                string(STRIP "${line}" line)
                list(APPEND violations "${relative}: ${reason}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()
if(violations)
    list(JOIN violations "\n  " report)
    message(FATAL_ERROR "Toolkit headers outside platform/qt and platform/win32:\n  ${report}")
endif()
message(STATUS "No toolkit headers outside platform/qt and platform/win32")
