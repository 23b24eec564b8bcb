# Lays the shipped files beside the programs in the runtime output folder:
# the data files, default.ini and any skins. Run at build time so that files
# added to data/ later are copied too.
#   cmake -DSRC=<repository>/data -DDST=<build>/bin -P copy_dist.cmake
file(GLOB _files LIST_DIRECTORIES false "${SRC}/*.txt" "${SRC}/*.ini" "${SRC}/*.wav" "${SRC}/*.png"
     "${SRC}/*.jpg")
foreach(f ${_files})
  file(COPY "${f}" DESTINATION "${DST}")
endforeach()
if(IS_DIRECTORY "${SRC}/skins")
  file(COPY "${SRC}/skins" DESTINATION "${DST}")
endif()
