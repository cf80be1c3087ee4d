# The compiler flags of every target of this project, as one interface
# library: the base layer links it, so whatever links a layer gets them;
# targets that link no layer link it themselves. Only flags the
# compiler understands: GCC and Clang take the GNU spelling, MSVC its own;
# the sanitizers exist only for GCC and Clang.
add_library(velmora_flags INTERFACE)

set(gnu_like $<CXX_COMPILER_ID:GNU,Clang,AppleClang>)
set(msvc $<CXX_COMPILER_ID:MSVC>)
target_compile_options(velmora_flags INTERFACE
    "$<${gnu_like}:-Wall;-Wextra;-Wpedantic;-Wshadow>"
    $<${msvc}:/W4>)
if(VELMORA_WERROR)
    target_compile_options(velmora_flags INTERFACE $<${gnu_like}:-Werror> $<${msvc}:/WX>)
endif()

if(VELMORA_SANITIZE)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "^(GNU|Clang|AppleClang)$")
        message(FATAL_ERROR "VELMORA_SANITIZE needs GCC or Clang (AddressSanitizer and UndefinedBehaviorSanitizer)")
    endif()
    target_compile_options(velmora_flags INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(velmora_flags INTERFACE -fsanitize=address,undefined)
endif()
