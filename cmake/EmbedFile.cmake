# kav_embed_file(TARGET FILE SYMBOL): compiles FILE's bytes into TARGET as
#   extern const unsigned char SYMBOL[];  extern const std::size_t SYMBOL_size;
# in namespace kav::embedded, regenerated whenever FILE changes.
function(kav_embed_file target file symbol)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${symbol}.cc)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
