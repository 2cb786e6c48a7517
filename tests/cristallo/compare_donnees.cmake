# Runs the space-group generator into a scratch folder and compares its output
# with the committed data files, byte for byte.
file(REMOVE_RECURSE ${SORTIE})
execute_process(COMMAND ${GENERATEUR} ${SORTIE} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "genere_groupes failed (${rc})")
endif()
foreach(nom spgr2.dat T.pos M.pos O.pos q.pos H.pos R.pos C.pos)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SORTIE}/${nom} ${DONNEES}/${nom}
                    RESULT_VARIABLE different)
    if(NOT different EQUAL 0)
        message(FATAL_ERROR "data/${nom} differs from the generator's output (see data/README.md)")
    endif()
endforeach()
