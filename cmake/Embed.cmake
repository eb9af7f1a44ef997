# trispan_embed(SOURCE NAME FILE...): a rule that writes FILEs into the C++
# source SOURCE as the array NAME (cmake/embed.cmake), remade when they change.
set(TRISPAN_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/embed.cmake)
set(TRISPAN_EMBED_INCLUDE ${CMAKE_CURRENT_LIST_DIR})
function(trispan_embed source name)
  add_custom_command(OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} -DOUTPUT=${source} -DNAME=${name} "-DFILES=${ARGN}"
            -P ${TRISPAN_EMBED_SCRIPT}
    DEPENDS ${ARGN} ${TRISPAN_EMBED_SCRIPT} VERBATIM)
endfunction()
