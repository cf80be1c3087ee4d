# velmora_export_headers(target folder name): target and whatever links it
# find the headers of `folder` as "name/File.h", and no other folder's. The
# include directory handed out is a folder of the build tree that holds
# only `name`, a link to `folder`; so a layer sees the headers of the layers
# it links and nothing else, and an include of a layer above it does not
# compile (src/layers.txt lists what each layer may include).
#
# Where no symbolic link can be made (Windows without the right to make
# one), `name` is a real folder of one-line headers that include the
# originals; they are made again when a header is added.
function(velmora_export_headers target folder name)
    set(root ${CMAKE_BINARY_DIR}/headers/${name})
    set(link ${root}/${name})
    if(NOT IS_SYMLINK ${link})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${folder} ${link} RESULT failed SYMBOLIC)
        if(failed)
            file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${folder} ${folder}/*.h)
            foreach(header ${headers})
                file(CONFIGURE OUTPUT ${link}/${header} CONTENT "#include \"${folder}/${header}\"\n")
            endforeach()
        endif()
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()

# velmora_add_layer(name [SOURCES file...] LINKS library...): the library
# velmora_<name> of the layer in src/<name>, exporting that folder's headers
# and linking the layers below it that it uses. Without sources it is a
# header-only (INTERFACE) library.
function(velmora_add_layer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    set(target velmora_${name})
    if(ARG_SOURCES)
        add_library(${target} STATIC ${ARG_SOURCES})
        target_link_libraries(${target} PUBLIC ${ARG_LINKS})
    else()
        add_library(${target} INTERFACE)
        target_link_libraries(${target} INTERFACE ${ARG_LINKS})
    endif()
    velmora_export_headers(${target} ${PROJECT_SOURCE_DIR}/src/${name} ${name})
endfunction()
