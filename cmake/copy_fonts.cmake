# Copies the built fonts (ma1.dat ... ma13.dat) and their licence texts into the program folder,
# when tools/make-fonts.sh has made them; a folder without fonts still runs, with substitutes.
# The licences folder is made anew, so a licence of a font no longer shipped does not stay.
if(EXISTS ${FONTS}/zesel)
  file(GLOB fonts ${FONTS}/zesel/*.dat)
  file(COPY ${fonts} DESTINATION ${PROGRAM}/背景图片/zesel)
endif()
if(EXISTS ${FONTS}/licences)
  file(REMOVE_RECURSE ${PROGRAM}/licences)
  file(COPY ${FONTS}/licences/ DESTINATION ${PROGRAM}/licences)
endif()
