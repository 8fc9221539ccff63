# Each layer compiles against an include folder that holds links to its own
# source folder and nothing else; a target sees the folders of the layers it
# links to as well. An include that points the wrong way (link/ reaching into
# panel/, panel/ into Qt) therefore does not build.
function(include_only target)
  set(tree ${CMAKE_BINARY_DIR}/include/${target})
  foreach(folder IN LISTS ARGN)
    get_filename_component(parent ${tree}/${folder} DIRECTORY)
    # A folder that was linked whole before (app/) is a link no more: what
    # is made inside it must not land in the sources.
    if(IS_SYMLINK ${parent})
      file(REMOVE ${parent})
    endif()
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${tree}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${tree})
endfunction()
