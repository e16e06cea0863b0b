# The product's package: the build tools, the payload programs (one build per processor), an
# optional release signature on them, the artwork, and the package the setup program embeds.
set(QL_PAYLOAD_DIR ${CMAKE_BINARY_DIR}/payload)
set(QL_HOST_DIR ${CMAKE_BINARY_DIR}/host)

# Tools that run on the build machine: the package writer and the artwork generator.
ExternalProject_Add(host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}/tools
  BINARY_DIR ${QL_HOST_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${QL_HOST_DIR}/qlseal)

# The programs and modules that the package carries, one build per processor.
foreach(arch i686 x86_64)
  ExternalProject_Add(payload_${arch}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/payload
    BINARY_DIR ${CMAKE_BINARY_DIR}/payload-${arch}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-${arch}.cmake
               -DCMAKE_BUILD_TYPE=MinSizeRel
               -DQL_PAYLOAD_DIR=${QL_PAYLOAD_DIR}
               -DQL_SOURCE_DATE_EPOCH=${QL_SOURCE_DATE_EPOCH}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
endforeach()

# Release signing, off unless a PEM certificate and its key are given (-DQL_SIGN_CERT=...
# -DQL_SIGN_KEY=...): the payload's programs and modules are signed before they are packed,
# and the setup program after it is linked. The signing time is the build's
# SOURCE_DATE_EPOCH, when it has one.
set(QL_SIGN_CERT "" CACHE FILEPATH "PEM certificate (and chain) that signs the release")
set(QL_SIGN_KEY "" CACHE FILEPATH "PEM private key of that certificate")
set(QL_PACKED_DIR ${QL_PAYLOAD_DIR})
set(QL_SIGN_PAYLOAD)
if(QL_SIGN_CERT OR QL_SIGN_KEY)
  if(NOT (QL_SIGN_CERT AND QL_SIGN_KEY))
    message(FATAL_ERROR "Signing needs both QL_SIGN_CERT and QL_SIGN_KEY")
  endif()
  find_program(QL_OSSLSIGNCODE osslsigncode REQUIRED)
  set(QL_SIGN ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${QL_SOURCE_DATE_EPOCH}
      bash ${PROJECT_SOURCE_DIR}/cmake/sign.sh ${QL_SIGN_CERT} ${QL_SIGN_KEY})
  set(QL_PACKED_DIR ${CMAKE_BINARY_DIR}/payload-signed)
  set(QL_SIGN_PAYLOAD
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${QL_PACKED_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${QL_PAYLOAD_DIR} ${QL_PACKED_DIR}
    COMMAND ${QL_SIGN} ${QL_PACKED_DIR})
endif()

# Artwork, the remaining payload files (the driver catalog among them) and the package;
# rewritten only when they change, so that an unchanged payload does not relink the program.
add_custom_target(embedded_files ALL
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/payload/readme.txt ${QL_PAYLOAD_DIR}/readme.txt
  COMMAND ${QL_HOST_DIR}/qlart ${QL_PAYLOAD_DIR} ${CMAKE_BINARY_DIR}/art
  COMMAND ${QL_HOST_DIR}/qlcat ${QL_PAYLOAD_DIR}/qlorvalovaio64_win10.cat
          ${QL_PAYLOAD_DIR}/qlorvalovaio64_win10.inf ${QL_PAYLOAD_DIR}/qlorvalovaio64_win10.sys
          ${QL_PAYLOAD_DIR}/qlorvalovaio64arm_win10.sys
  ${QL_SIGN_PAYLOAD}
  COMMAND ${QL_HOST_DIR}/qlpack build ${QL_PACKED_DIR} ${CMAKE_BINARY_DIR}/package.tmp
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_BINARY_DIR}/package.tmp ${CMAKE_BINARY_DIR}/package.bin
  BYPRODUCTS ${CMAKE_BINARY_DIR}/package.bin ${CMAKE_BINARY_DIR}/art/skin.bmp ${CMAKE_BINARY_DIR}/art/icon.ico
  DEPENDS host_tools payload_i686 payload_x86_64
  COMMENT "Building artwork and package")

# The same setup program built for x86-64, with the same package: never shipped, it lets the
# Wine suites drive the program on machines that cannot run 32-bit programs.
ExternalProject_Add(setup_x64
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/x64
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-x86_64.cmake
             -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
             -DQL_SOURCE_DATE_EPOCH=${QL_SOURCE_DATE_EPOCH}
             -DQL_EMBED_FROM=${CMAKE_BINARY_DIR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  DEPENDS embedded_files)
