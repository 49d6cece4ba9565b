# SPDX-License-Identifier: GPL-3.0-or-later
file(MAKE_DIRECTORY ${DST}/Configs ${DST}/lang ${DST}/skin)
configure_file(${SRC}/DefaultProfile.bin ${DST}/DefaultProfile.bin COPYONLY)
file(GLOB_RECURSE configs RELATIVE ${SRC}/Configs ${SRC}/Configs/*)
foreach(f ${configs})
  if(NOT EXISTS ${DST}/Configs/${f})
    configure_file(${SRC}/Configs/${f} ${DST}/Configs/${f} COPYONLY)
  endif()
endforeach()
