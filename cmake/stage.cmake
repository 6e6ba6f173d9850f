# Copies GEN/{datos,levels,midi,mp3} into RUN, keeping an existing RUN/datos/ranking.dat and
# leaving out the files of datos/ named in SIN.
foreach(dir datos levels midi mp3)
    file(MAKE_DIRECTORY ${RUN}/${dir})
    file(GLOB files RELATIVE ${GEN}/${dir} ${GEN}/${dir}/*)
    foreach(f ${files})
        if(dir STREQUAL "datos" AND f STREQUAL "ranking.dat" AND EXISTS ${RUN}/datos/ranking.dat)
            continue()
        endif()
        list(FIND SIN "${f}" fuera)
        if(dir STREQUAL "datos" AND fuera GREATER -1)
            continue()
        endif()
        execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${GEN}/${dir}/${f} ${RUN}/${dir}/${f})
    endforeach()
endforeach()
# Marks the tree as the game's own: the game started in it uses it in place, an installed game too.
file(CONFIGURE OUTPUT ${RUN}/datos/local.txt CONTENT
     "VORK-ZEL 2003 started in this folder plays from it and keeps its scores in datos/ranking.dat.\n")
