# Fails when FILE is larger than LIMIT bytes; prints its size either way.
file(SIZE ${FILE} size)
message(STATUS "${FILE}: ${size} bytes (limit ${LIMIT})")
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE} has grown past ${LIMIT} bytes: ${size}")
endif()
