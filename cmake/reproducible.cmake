# Same sources, same bytes, from any checkout folder and at any time. Included by the setup
# program's build and by the payload's, before their targets. The time stamp of the Windows
# images is SOURCE_DATE_EPOCH when the build is configured with one, otherwise zero.
set(QL_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}" CACHE STRING
    "Time stamp of the Windows images, in seconds since 1970 (empty: zero)")
if(QL_SOURCE_DATE_EPOCH)
  if(NOT QL_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    message(FATAL_ERROR "SOURCE_DATE_EPOCH must be a number of seconds: ${QL_SOURCE_DATE_EPOCH}")
  endif()
  add_link_options(-Wl,--insert-timestamp)
  # ld reads the stamp from its own environment, so every link gets the configured one.
  set(CMAKE_C_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QL_SOURCE_DATE_EPOCH})
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_C_LINKER_LAUNCHER})
else()
  add_link_options(-Wl,--no-insert-timestamp)
endif()
