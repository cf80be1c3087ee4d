# Warnings apply to every target of this project (not to Qt's generated moc
# files, which are compiled as part of our targets but are warning-clean).
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow)
if(VELMORA_WERROR)
    add_compile_options(-Werror)
endif()
if(VELMORA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
