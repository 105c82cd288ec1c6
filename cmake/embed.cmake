# kq_embed(<target> BASE <dir> [NAMESPACE <ns>] FILES <files...>)
# Compiles the files into <target> as one table,
#   const std::map<std::string, std::string_view, std::less<>>& <ns>::all();
# keyed by each file's path relative to BASE. NAMESPACE defaults to kq::embedded
# (platform/embedded.h declares that table and find()); a target that embeds
# files of its own names another namespace so that the two tables do not meet
# at link time.
set(KQ_EMBED_GENERATOR ${CMAKE_CURRENT_LIST_DIR}/embed_gen.cmake)

function(kq_embed target)
  cmake_parse_arguments(PARSE_ARGV 1 EMBED "" "BASE;NAMESPACE" "FILES")
  if(EMBED_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "kq_embed(${target}): unexpected arguments ${EMBED_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT EMBED_BASE)
    message(FATAL_ERROR "kq_embed(${target}): BASE <dir> is required")
  endif()
  if(NOT EMBED_NAMESPACE)
    set(EMBED_NAMESPACE kq::embedded)
  endif()
  if(NOT EMBED_NAMESPACE MATCHES "^[A-Za-z_][A-Za-z0-9_]*(::[A-Za-z_][A-Za-z0-9_]*)*$")
    message(FATAL_ERROR "kq_embed(${target}): NAMESPACE '${EMBED_NAMESPACE}' is no C++ namespace name")
  endif()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.cpp)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.list)
  set(rel_files "")
  foreach(f IN LISTS EMBED_FILES)
    file(RELATIVE_PATH rel ${EMBED_BASE} ${f})
    list(APPEND rel_files ${rel})
  endforeach()
  string(REPLACE ";" "\n" content "${rel_files}")
  file(GENERATE OUTPUT ${list_file} CONTENT "${content}\n")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DBASE=${EMBED_BASE} -DLIST=${list_file} -DOUT=${out} -DNAMESPACE=${EMBED_NAMESPACE}
            -P ${KQ_EMBED_GENERATOR}
    DEPENDS ${EMBED_FILES} ${list_file} ${KQ_EMBED_GENERATOR}
    COMMENT "Embedding ${target} resources"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
