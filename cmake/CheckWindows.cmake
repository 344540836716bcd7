# Windows syntax check: every C++ source under src/, tests/ and bench/ is compiled by the MinGW
# cross compiler with -fsyntax-only, as a Windows build would see it (Q_OS_WIN, _win.cpp files in
# place of _unix.cpp), with the flags that the Linux build gives the same file.
# Writes BUILD/windows-check/Makefile, one target per source; `make check-windows` runs it.
# Usage: cmake -DSOURCE=<source folder> -DBUILD=<configured and built folder> -P CheckWindows.cmake
cmake_minimum_required(VERSION 3.21)
set(compiler x86_64-w64-mingw32-g++-posix)
find_program(cross ${compiler} REQUIRED)

file(READ ${BUILD}/compile_commands.json database)
string(JSON count LENGTH "${database}")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
    string(JSON file GET "${database}" ${i} file)
    string(JSON command GET "${database}" ${i} command)
    string(MD5 key "${file}")
    set(command_${key} "${command}")
endforeach()

file(GLOB_RECURSE sources ${SOURCE}/src/*.cpp ${SOURCE}/tests/*.cpp ${SOURCE}/bench/*.cpp)
list(FILTER sources EXCLUDE REGEX "_unix\\.cpp$")
# The fuzz targets are built with clang's libFuzzer on Linux only, in a build of their own.
list(FILTER sources EXCLUDE REGEX "/tests/fuzz/")
set(targets)
set(rules)
foreach(source ${sources})
    # A Windows-only file is checked with the flags of its Unix counterpart.
    string(REGEX REPLACE "_win\\.cpp$" "_unix.cpp" twin "${source}")
    string(MD5 key "${twin}")
    if(NOT DEFINED command_${key})
        message(FATAL_ERROR "No compile command for ${twin}: is the Linux build configured with all its parts?")
    endif()
    separate_arguments(words UNIX_COMMAND "${command_${key}}")
    list(POP_FRONT words)
    set(flags -fsyntax-only -DUNICODE -D_UNICODE -DNOMINMAX)
    set(skip_next FALSE)
    foreach(word ${words})
        if(skip_next)
            set(skip_next FALSE)
        elseif(word STREQUAL "-o" OR word STREQUAL "-c")
            set(skip_next TRUE) # the object file and the source, given anew below
        elseif(word MATCHES "^-f(PIC|PIE)$" OR word MATCHES "^-Werror" OR word MATCHES "^-mno-direct-extern-access$")
            # position-independent code and hardening flags mean nothing for a syntax check on Windows
        elseif(word MATCHES "/mkspecs/linux-g\\+\\+$")
            string(REGEX REPLACE "linux-g\\+\\+$" "win32-g++" word "${word}")
            list(APPEND flags "${word}")
        else()
            list(APPEND flags "${word}")
        endif()
    endforeach()
    # Each word in single quotes for the shell, and "$" doubled for make.
    set(line "@${cross}")
    foreach(word ${flags} ${source})
        string(REPLACE "'" "'\\''" word "${word}")
        string(REPLACE "$" "$$" word "${word}")
        string(APPEND line " '${word}'")
    endforeach()
    file(RELATIVE_PATH name ${SOURCE} ${source})
    string(MAKE_C_IDENTIFIER "${name}" target)
    # Always run: a header that changed would not show in the source's time stamp.
    string(APPEND rules "${target}:\n\t@echo 'Windows syntax: ${name}'\n\t${line}\n")
    list(APPEND targets ${target})
endforeach()

list(JOIN targets " " all)
file(WRITE ${BUILD}/windows-check/Makefile "all: ${all}\n.PHONY: all ${all}\n${rules}")
list(LENGTH targets n)
message(STATUS "Windows syntax check: ${n} sources")
