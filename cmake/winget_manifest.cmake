# Writes the winget manifest of the setup program just built (and signed, where it is), in
# winget's multi-file form of manifest version 1.10.0: version, default locale and installer,
# from the templates in winget/. Run by the build as
#   cmake -DSETUP=<program> -DURL=<download address> -DOUT=<folder> -P winget_manifest.cmake
# The version comes from src/app/version.h, as the program's own does.
cmake_minimum_required(VERSION 3.25)
set(QL_SOURCE ${CMAKE_CURRENT_LIST_DIR}/..)
set(PACKAGE_ID QuillonSoftware.QuillonOrvalo)  # Publisher.Name, as winget wants it

file(STRINGS ${QL_SOURCE}/src/app/version.h numbers
     REGEX "^#define SETUP_VERSION_(MAJOR|MINOR|PATCH|BUILD) [0-9]+$")
list(TRANSFORM numbers REPLACE "^#define SETUP_VERSION_[A-Z]+ " "")
list(LENGTH numbers count)
if(NOT count EQUAL 4)
  message(FATAL_ERROR "src/app/version.h: expected four version numbers, found '${numbers}'")
endif()
list(JOIN numbers "." VERSION)

file(SHA256 ${SETUP} SHA256)
string(TOUPPER ${SHA256} SHA256)

# The version manifest bears the bare identifier.
set(stem ${OUT}/${PACKAGE_ID})
set(templates ${CMAKE_CURRENT_LIST_DIR}/winget)
configure_file(${templates}/version.yaml.in ${stem}.yaml @ONLY)
configure_file(${templates}/defaultLocale.yaml.in ${stem}.locale.en-US.yaml @ONLY)
configure_file(${templates}/installer.yaml.in ${stem}.installer.yaml @ONLY)
