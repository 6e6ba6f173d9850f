# vz_datos(<target> <outputs...>): registers a data target whose outputs are staged into build/run.
function(vz_datos target)
    add_custom_target(${target} ALL DEPENDS ${ARGN})
    set_property(GLOBAL APPEND PROPERTY VZ_DATOS_TARGETS ${target})
endfunction()
