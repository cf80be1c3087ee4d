# The fences between the folders of src/, kept by the build: a library hands
# out its own folder's headers and no others, links only the layers
# src/layers.txt lets its layer include, and its headers are compiled with
# only what it hands out. An include that reaches past a fence does not
# compile; a link that reaches past one stops the configure.

# What each layer may include besides itself, as src/layers.txt lists it:
# the global property VELMORA_SEES_<layer>.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/layers.txt)
file(STRINGS ${PROJECT_SOURCE_DIR}/src/layers.txt velmora_layer_lines REGEX "^[a-z]+:")
foreach(line IN LISTS velmora_layer_lines)
    string(REGEX MATCH "^([a-z]+):(.*)$" unused "${line}")
    string(REPLACE " " ";" below "${CMAKE_MATCH_2}")
    set_property(GLOBAL PROPERTY VELMORA_SEES_${CMAKE_MATCH_1} ${CMAKE_MATCH_1} ${below})
endforeach()

# velmora_export_headers(target folder name [HEADERS file...]): target and
# whatever links it find the headers directly in `folder` (its subfolders
# hold libraries of their own), or only HEADERS where the folder holds more
# than one library, as "name/File.h", and nothing else of the folder. They
# are handed out as links in a folder of the build tree of the target's own
# (where no symbolic link can be made, Windows without the right to make
# one, as one-line headers that include the originals).
#
# A target of src/ belongs to the layer of its first folder there. A library
# of src/ also gets <target>_fence: its headers compiled together with only
# what it hands out, so a header whose include its users cannot see fails
# the build even where no source of the library includes that header.
function(velmora_export_headers target folder name)
    cmake_parse_arguments(ARG "" "" "HEADERS" ${ARGN})
    set(headers ${ARG_HEADERS})
    if(NOT headers)
        file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${folder} ${folder}/*.h)
    endif()
    set(root ${CMAKE_BINARY_DIR}/headers/${target})
    set(exported ${root}/${name})
    file(MAKE_DIRECTORY ${exported})
    file(GLOB before RELATIVE ${exported} ${exported}/*)
    foreach(header IN LISTS before)
        if(NOT header IN_LIST headers)
            file(REMOVE ${exported}/${header})
        endif()
    endforeach()
    foreach(header IN LISTS headers)
        if(NOT EXISTS ${exported}/${header})
            file(CREATE_LINK ${folder}/${header} ${exported}/${header} RESULT failed SYMBOLIC)
            if(failed)
                file(CONFIGURE OUTPUT ${exported}/${header} CONTENT "#include \"${folder}/${header}\"\n" @ONLY)
            endif()
        endif()
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()

    file(RELATIVE_PATH inSrc ${PROJECT_SOURCE_DIR}/src ${folder})
    if(inSrc MATCHES "^\\.\\.")
        return()
    endif()
    string(REGEX REPLACE "/.*" "" layer "${inSrc}")
    get_property(listed GLOBAL PROPERTY VELMORA_SEES_${layer} SET)
    if(NOT listed)
        message(FATAL_ERROR "src/${layer} has no line in src/layers.txt")
    endif()
    set_property(TARGET ${target} PROPERTY VELMORA_LAYER ${layer})
    set_property(GLOBAL APPEND PROPERTY VELMORA_LAYERED ${target})
    if(type MATCHES "LIBRARY$")
        list(TRANSFORM headers REPLACE "^(.+)$" "#include \"${name}/\\1\"" OUTPUT_VARIABLE includes)
        list(JOIN includes "\n" includes)
        set(fence ${CMAKE_BINARY_DIR}/fences/${target}.cpp)
        file(CONFIGURE OUTPUT ${fence} CONTENT "${includes}\n" @ONLY)
        add_library(${target}_fence OBJECT ${fence})
        target_link_libraries(${target}_fence PRIVATE ${target})
        set_target_properties(${target}_fence PROPERTIES AUTOMOC OFF)
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

# At the end of the configure, once every link is made: each target of src/
# links only targets of its own layer and of the layers src/layers.txt lets
# that layer include.
function(velmora_check_layer_links)
    get_property(targets GLOBAL PROPERTY VELMORA_LAYERED)
    foreach(target IN LISTS targets)
        get_target_property(layer ${target} VELMORA_LAYER)
        get_property(sees GLOBAL PROPERTY VELMORA_SEES_${layer})
        get_target_property(links ${target} LINK_LIBRARIES)
        get_target_property(usage ${target} INTERFACE_LINK_LIBRARIES)
        foreach(link IN LISTS links usage)
            if(TARGET ${link})
                get_target_property(linked ${link} VELMORA_LAYER)
                if(linked AND NOT linked IN_LIST sees)
                    message(FATAL_ERROR "${target} (src/${layer}) links ${link} (src/${linked}): "
                                        "src/layers.txt does not let ${layer} include ${linked}")
                endif()
            endif()
        endforeach()
    endforeach()
endfunction()
cmake_language(DEFER CALL velmora_check_layer_links)
