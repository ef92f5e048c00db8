# One static library per subsystem folder and layer:
#   <folder>/*.cpp     -> qm_<folder>     (GL-free core, standard library only)
#   <folder>/gl/*.cpp  -> qm_<folder>_gl  (needs an OpenGL context)
# The executables live in app/main.cpp and tools/.

set(QM_CORE_DEPS_data        "")
set(QM_CORE_DEPS_streamlines "qm_data")
set(QM_CORE_DEPS_tf          "qm_data")
set(QM_CORE_DEPS_render      "qm_data")
set(QM_CORE_DEPS_panel       "")
set(QM_CORE_DEPS_options     "qm_tf;qm_streamlines;qm_render;qm_app")
set(QM_CORE_DEPS_app         "qm_data;qm_panel")

set(QM_FOLDERS data streamlines tf render panel options app)
set(QM_CORE_LIBS "")
set(QM_GL_LIBS "")

foreach(folder IN LISTS QM_FOLDERS)
  file(GLOB core_src CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER core_src EXCLUDE REGEX "/main\\.cpp$")
  if(core_src)
    add_library(qm_${folder} STATIC ${core_src})
    target_include_directories(qm_${folder} PUBLIC ${PROJECT_SOURCE_DIR})
    list(APPEND QM_CORE_LIBS qm_${folder})
  endif()
endforeach()

# Link dependencies only between libraries that exist.
foreach(folder IN LISTS QM_FOLDERS)
  if(TARGET qm_${folder})
    foreach(dep IN LISTS QM_CORE_DEPS_${folder})
      if(TARGET ${dep})
        target_link_libraries(qm_${folder} PUBLIC ${dep})
      endif()
    endforeach()
  endif()
endforeach()

foreach(folder IN LISTS QM_FOLDERS)
  file(GLOB gl_src CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/gl/*.cpp)
  if(gl_src)
    add_library(qm_${folder}_gl STATIC ${gl_src})
    target_include_directories(qm_${folder}_gl PUBLIC ${PROJECT_SOURCE_DIR})
    if(TARGET qm_${folder})
      target_link_libraries(qm_${folder}_gl PUBLIC qm_${folder})
    endif()
    target_link_libraries(qm_${folder}_gl PUBLIC
      GLEW::GLEW GLUT::GLUT OpenGL::GL OpenGL::GLU PkgConfig::IMGUI ${IL_LIB} ${ILU_LIB})
    list(APPEND QM_GL_LIBS qm_${folder}_gl)
  endif()
endforeach()

# GL libraries call into each other (the scene draws streamlines, the
# editor draws transfer functions); link them as one group.
add_library(qm_all INTERFACE)
target_link_libraries(qm_all INTERFACE
  -Wl,--start-group ${QM_GL_LIBS} ${QM_CORE_LIBS} -Wl,--end-group
  GLEW::GLEW GLUT::GLUT OpenGL::GL OpenGL::GLU PkgConfig::IMGUI ${IL_LIB} ${ILU_LIB})
target_include_directories(qm_all INTERFACE ${PROJECT_SOURCE_DIR})

# Run-time files the viewer opens by relative name: shaders and the arrow image.
file(GLOB QM_SHADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.vert ${PROJECT_SOURCE_DIR}/src/*.frag)
foreach(shader IN LISTS QM_SHADERS)
  get_filename_component(name ${shader} NAME)
  configure_file(${shader} ${PROJECT_BINARY_DIR}/src/${name} COPYONLY)
endforeach()

if(EXISTS ${PROJECT_SOURCE_DIR}/app/main.cpp)
  add_executable(quillmere ${PROJECT_SOURCE_DIR}/app/main.cpp)
  target_link_libraries(quillmere PRIVATE qm_all)
endif()

file(GLOB QM_TOOLS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/*.cpp)
foreach(tool_src IN LISTS QM_TOOLS)
  get_filename_component(tool ${tool_src} NAME_WE)
  add_executable(${tool} ${tool_src})
  target_link_libraries(${tool} PRIVATE ${QM_CORE_LIBS})
  target_include_directories(${tool} PRIVATE ${PROJECT_SOURCE_DIR})
endforeach()

# The demo dataset: a double gyre with two data channels, generated at build time.
if(TARGET quillmere-flowgen)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/demo/demo.gri ${PROJECT_BINARY_DIR}/demo/demo.00000.dat
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/demo
    COMMAND quillmere-flowgen --field gyre --nx 257 --ny 129 --x0 0 --x1 8 --y0 0 --y1 4
            --speed 1 --channels 2 -o ${PROJECT_BINARY_DIR}/demo/demo
    DEPENDS quillmere-flowgen
    COMMENT "Generating the demo dataset")
  add_custom_target(demo_dataset ALL DEPENDS ${PROJECT_BINARY_DIR}/demo/demo.gri)
endif()

# The arrow glyph image, drawn by our own tool at build time.
if(TARGET quillmere-arrowgen)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/img/arrow.tga
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/img
    COMMAND quillmere-arrowgen ${PROJECT_BINARY_DIR}/img/arrow.tga
    DEPENDS quillmere-arrowgen
    COMMENT "Drawing the arrow image")
  add_custom_target(arrow_image ALL DEPENDS ${PROJECT_BINARY_DIR}/img/arrow.tga)
endif()
