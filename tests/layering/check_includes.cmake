# Fails when code outside platform/qt and platform/win32 includes a Qt or Windows header: core/,
# windows/ and the rest of platform/ must build and run without either toolkit. The same matcher
# must find both toolkits' headers inside the two backends, so a matcher that finds nothing fails.
# Usage: cmake -DROOT=<source tree> -P check_includes.cmake
cmake_minimum_required(VERSION 3.25)
set(outside "")
set(inside "")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${ROOT}"
     "${ROOT}/core/*" "${ROOT}/windows/*" "${ROOT}/platform/*")
foreach(relative IN LISTS files)
    file(STRINGS "${ROOT}/${relative}" lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
        string(TOLOWER "${line}" lower)
        # Qt: <QWidget>, <QtWidgets/QLabel>, <qglobal.h>. Windows: <windows.h>, <mmsystem.h>,
        # <commctrl.h> and the other SDK names; project headers such as "window_system.h" pass.
        if(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]|qt|q[a-z0-9_]*\\.h>)" OR
           lower MATCHES "#[ \t]*include[ \t]*(<win[a-z0-9_]*\\.h>|[<\"](.*/)?(windows|windowsx|commctrl|commdlg|mmsystem|shellapi|shlobj|objbase|uxtheme|dwmapi)\\.h[>\"])")
            if(relative MATCHES "^platform/(qt|win32)/")
                list(APPEND inside "${relative}")
            else()
                string(STRIP "${line}" line)
                list(APPEND outside "${relative}: ${line}")
            endif()
        endif()
    endforeach()
endforeach()
if(outside)
    list(JOIN outside "\n  " report)
    message(FATAL_ERROR "Toolkit headers outside platform/qt and platform/win32:\n  ${report}")
endif()
list(FILTER inside INCLUDE REGEX "^platform/qt/")
list(LENGTH inside qt)
if(qt EQUAL 0)
    message(FATAL_ERROR "The matcher found no Qt header even inside platform/qt")
endif()
message(STATUS "No toolkit headers outside platform/qt and platform/win32")
