# The web build: each program as <name>.js, <name>.wasm and <name>.data (its
# pictures, at the paths it loads them by) with its page <name>.html, and the
# index page, all in the static site folder site/.
configure_file(${CMAKE_CURRENT_LIST_DIR}/index.html ${PROJECT_BINARY_DIR}/site/index.html COPYONLY)

# anim_web_page(<target> <name> <run dir> [<folder>]): builds program <name>
# for the page, its pictures from <run dir> packed in, SDL given the desktop's
# semantics by sdl_desktop.js. ASYNCIFY lets each frame's SDL_Delay hand the
# page back to the browser (no indirect call is on the stack then, which
# keeps the code small); stb_image decodes the BMP files, through the
# functions the loader calls on Module; the smaller allocator and the
# browser-only runtime keep each program under 1 MB. The memory grows as the
# pictures need, and malloc gives null when it cannot, as on the desktop.
# The page goes into the site, or into <folder> (the test pages' folder),
# with the files every page uses.
function(anim_web_page target name run_dir)
  set(web_dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  set(folder ${PROJECT_BINARY_DIR}/site)
  if(ARGC GREATER 3)
    set(folder ${ARGV3})
  endif()
  set(ANIM_PROGRAM ${name})
  configure_file(${web_dir}/program.html.in ${folder}/${name}.html @ONLY)
  foreach(file site.css shell.js)
    configure_file(${web_dir}/${file} ${folder}/${file} COPYONLY)
  endforeach()
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} RUNTIME_OUTPUT_DIRECTORY ${folder} SUFFIX .js)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${web_dir}/sdl_desktop.js)
  target_link_options(${target} PRIVATE -sASYNCIFY -sASYNCIFY_IGNORE_INDIRECT -sSTB_IMAGE=1 -sEXIT_RUNTIME=1
    -sEXPORTED_FUNCTIONS=_main,_malloc,_free,_stbi_load_from_memory,_stbi_image_free,_stbi_failure_reason
    -sMALLOC=emmalloc -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH
    "SHELL:--js-library ${web_dir}/sdl_desktop.js"
    "SHELL:--preload-file ${run_dir}@/" "SHELL:--exclude-file */.pictures-*")
endfunction()
