# Copies the runtime folders (scripts/, help/) beside the executables; a folder that has no
# files yet is not in a fresh clone, so a missing source is only created empty.
foreach(name scripts help)
  file(MAKE_DIRECTORY ${DEST}/${name})
  if(EXISTS ${SRC}/${name})
    file(COPY ${SRC}/${name}/ DESTINATION ${DEST}/${name})
  endif()
endforeach()
