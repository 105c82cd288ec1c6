# kq_embed(<target> <base_dir> <files...>): compiles the files into <target> so that
# kq::embedded::find("relative/path") returns their content at run time.
set(KQ_EMBED_GENERATOR ${CMAKE_CURRENT_LIST_DIR}/embed_gen.cmake)

function(kq_embed target base_dir)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.cpp)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.list)
  set(rel_files "")
  foreach(f IN LISTS ARGN)
    file(RELATIVE_PATH rel ${base_dir} ${f})
    list(APPEND rel_files ${rel})
  endforeach()
  string(REPLACE ";" "\n" content "${rel_files}")
  file(GENERATE OUTPUT ${list_file} CONTENT "${content}\n")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DBASE=${base_dir} -DLIST=${list_file} -DOUT=${out} -P ${KQ_EMBED_GENERATOR}
    DEPENDS ${ARGN} ${list_file} ${KQ_EMBED_GENERATOR}
    COMMENT "Embedding ${target} resources"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
