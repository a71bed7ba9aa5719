# Lays out the Application folder ${QUILLON_APP_DIR}: everything from data/, the demo catalogue
# parts.mdb with its pictures in images/, and the empty User database template
# systemuserDB.dat. Each file is made by a custom command with its inputs, so that a build with
# nothing changed does nothing.

if(NOT TARGET quillon-db)
    return()
endif()

set(QUILLON_DEMO_PARTS 3000 CACHE STRING "Number of parts in the demo catalogue")
set(QUILLON_DEMO_SEED 1206 CACHE STRING "Seed of the demo catalogue")
set(quillon_demo_dir ${CMAKE_BINARY_DIR}/demo-catalogue)
set(quillon_app_outputs)

# What ships from data/: templates, texts, icons.
file(GLOB_RECURSE quillon_data_files CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data
     ${CMAKE_SOURCE_DIR}/data/*)
foreach(file IN LISTS quillon_data_files)
    get_filename_component(file_dir ${QUILLON_APP_DIR}/${file} DIRECTORY)
    add_custom_command(
        OUTPUT ${QUILLON_APP_DIR}/${file}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${file_dir}
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/${file} ${QUILLON_APP_DIR}/${file}
        DEPENDS ${CMAKE_SOURCE_DIR}/data/${file}
        COMMENT "Copying ${file} to the Application folder"
        VERBATIM)
    list(APPEND quillon_app_outputs ${QUILLON_APP_DIR}/${file})
endforeach()

# The demo catalogue: a CSV price file and its pictures, made afresh (old pictures removed)
# whenever the tool changes.
add_custom_command(
    OUTPUT ${quillon_demo_dir}/parts.csv
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${quillon_demo_dir}/images
    COMMAND quillon-db demo-catalogue --parts ${QUILLON_DEMO_PARTS} --seed ${QUILLON_DEMO_SEED}
            --out ${quillon_demo_dir}
    DEPENDS quillon-db
    COMMENT "Generating the demo catalogue (${QUILLON_DEMO_PARTS} parts)"
    VERBATIM)

add_custom_command(
    OUTPUT ${QUILLON_APP_DIR}/parts.mdb
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_APP_DIR}
    COMMAND quillon-db import-catalogue ${quillon_demo_dir}/parts.csv ${QUILLON_APP_DIR}/parts.mdb
    DEPENDS ${quillon_demo_dir}/parts.csv quillon-db
    COMMENT "Building the Catalogue database parts.mdb"
    VERBATIM)
list(APPEND quillon_app_outputs ${QUILLON_APP_DIR}/parts.mdb)

add_custom_command(
    OUTPUT ${quillon_demo_dir}/images.copied
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_APP_DIR}/images
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${quillon_demo_dir}/images ${QUILLON_APP_DIR}/images
    COMMAND ${CMAKE_COMMAND} -E touch ${quillon_demo_dir}/images.copied
    DEPENDS ${quillon_demo_dir}/parts.csv
    COMMENT "Copying the demo pictures to the Application folder"
    VERBATIM)
list(APPEND quillon_app_outputs ${quillon_demo_dir}/images.copied)

add_custom_command(
    OUTPUT ${QUILLON_APP_DIR}/systemuserDB.dat
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_APP_DIR}
    COMMAND quillon-db make-user-template ${QUILLON_APP_DIR}/systemuserDB.dat
    DEPENDS quillon-db
    COMMENT "Making the empty User database template systemuserDB.dat"
    VERBATIM)
list(APPEND quillon_app_outputs ${QUILLON_APP_DIR}/systemuserDB.dat)

add_custom_target(app_folder ALL DEPENDS ${quillon_app_outputs})

# Building the program lays out the folder it runs from.
if(TARGET dorvane-quillon)
    add_dependencies(dorvane-quillon app_folder)
endif()
