# Compiler settings shared by every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic)
if(LORVANE_WERROR)
    add_compile_options(-Werror)
endif()
if(LORVANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(LORVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "LORVANE_FUZZ needs clang: CC=clang CXX=clang++ cmake ...")
    endif()
    # Every library gets the coverage hooks, or the fuzzers run blind in the
    # code they call.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Qt's own headers come in as system headers; build without Qt 5's
# deprecated API.
add_compile_definitions(QT_DISABLE_DEPRECATED_BEFORE=0x060000)
