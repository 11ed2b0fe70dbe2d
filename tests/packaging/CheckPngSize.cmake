# Fails unless PNG is a PNG image of SIZE x SIZE pixels. The icon theme looks
# up icons by the folder they are installed in (hicolor/256x256/apps), so a
# re-rendered icon of another size would be scaled or ignored by desktops.
#
# -D PNG=<file> -D SIZE=<pixels>
file(READ ${PNG} signature LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "${PNG} is not a PNG file")
endif()
# The IHDR chunk comes first: width and height are big-endian 32-bit values
# at byte offsets 16 and 20.
file(READ ${PNG} header OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING ${header} 0 8 width_hex)
string(SUBSTRING ${header} 8 8 height_hex)
math(EXPR width "0x${width_hex}")
math(EXPR height "0x${height_hex}")
if(NOT width EQUAL SIZE OR NOT height EQUAL SIZE)
  message(FATAL_ERROR "${PNG} is ${width}x${height} pixels, not ${SIZE}x${SIZE}")
endif()
