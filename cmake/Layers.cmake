# One static library per folder and layer:
#   <folder>/*.cpp     -> qm_<folder>     (GL-free core, standard library only)
#   <folder>/gl/*.cpp  -> qm_<folder>_gl  (needs an OpenGL context)
# Each library links what it uses and nothing else; ARCHITECTURE.md draws
# the picture. The viewer is app/main.cpp, the tools live in tools/.

function(qm_library name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# GL-free core, bottom up. common/ holds what every program shares: safe
# file writes, help and version texts.
qm_library(qm_common common)
qm_library(qm_settings settings)
qm_library(qm_data data qm_common Threads::Threads)
qm_library(qm_streamlines streamlines qm_data Threads::Threads)
qm_library(qm_tf tf qm_data)
qm_library(qm_render render qm_data)
qm_library(qm_panel panel qm_settings)
qm_library(qm_options options qm_settings qm_tf qm_streamlines qm_render)
qm_library(qm_app app qm_settings qm_common PNG::PNG)
# The installed share folder as seen from the installed executable, so that
# an installed viewer finds its files under any prefix.
file(RELATIVE_PATH QM_SHARE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/quillmere)
target_compile_definitions(qm_app PRIVATE QM_SHARE_FROM_BIN="${QM_SHARE_FROM_BIN}")
# Readers of other tools' files (CSV; NetCDF through a module of its own,
# which loads the NetCDF C library only when a program opens such a file).
qm_library(qm_formats formats qm_data ${CMAKE_DL_LIBS})
add_library(quillmere-netcdf MODULE ${PROJECT_SOURCE_DIR}/formats/netcdf/NetcdfFile.cpp)
set_target_properties(quillmere-netcdf PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
target_include_directories(quillmere-netcdf PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(quillmere-netcdf PRIVATE PkgConfig::NETCDF)
# Every program that can open a NetCDF file gets the module built beside it.
add_dependencies(qm_formats quillmere-netcdf)
file(RELATIVE_PATH QM_MODULES_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/quillmere)
target_compile_definitions(qm_formats PRIVATE QM_MODULES_FROM_BIN="${QM_MODULES_FROM_BIN}")
install(TARGETS quillmere-netcdf LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/quillmere)

# GL layer.
qm_library(qm_data_gl data/gl qm_data GLEW::GLEW OpenGL::GL OpenGL::GLU)
qm_library(qm_render_gl render/gl qm_render PkgConfig::STB Fontconfig::Fontconfig GLEW::GLEW GLUT::GLUT OpenGL::GL)
qm_library(qm_streamlines_gl streamlines/gl qm_streamlines GLEW::GLEW OpenGL::GL)
qm_library(qm_tf_gl tf/gl qm_tf qm_render_gl GLEW::GLEW GLUT::GLUT OpenGL::GL OpenGL::GLU)
qm_library(qm_panel_gl panel/gl qm_panel PkgConfig::IMGUI GLEW::GLEW GLUT::GLUT OpenGL::GL)
qm_library(qm_app_gl app/gl qm_app qm_options qm_formats qm_data_gl qm_render_gl qm_streamlines_gl qm_tf_gl qm_panel_gl
           ${IL_LIB} GLUT::GLUT OpenGL::GL OpenGL::GLU)

# Every core library, for the tools.
set(QM_CORE_LIBS qm_common qm_settings qm_data qm_streamlines qm_tf qm_render qm_panel qm_options qm_app qm_formats)

# Run-time files the viewer opens by relative name: shaders and the arrow image.
file(GLOB QM_SHADERS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.vert ${PROJECT_SOURCE_DIR}/src/*.frag)
foreach(shader IN LISTS QM_SHADERS)
  get_filename_component(name ${shader} NAME)
  configure_file(${shader} ${PROJECT_BINARY_DIR}/src/${name} COPYONLY)
endforeach()

add_executable(quillmere ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(quillmere PRIVATE qm_app_gl)
install(TARGETS quillmere RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

file(GLOB QM_TOOLS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/*.cpp)
foreach(tool_src IN LISTS QM_TOOLS)
  get_filename_component(tool ${tool_src} NAME_WE)
  add_executable(${tool} ${tool_src})
  target_link_libraries(${tool} PRIVATE ${QM_CORE_LIBS})
  install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

# The demo dataset: a double gyre with two data channels, generated at build time.
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/demo/demo.gri ${PROJECT_BINARY_DIR}/demo/demo.00000.dat
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/demo
  COMMAND quillmere-flowgen --field gyre --nx 257 --ny 129 --x0 0 --x1 8 --y0 0 --y1 4
          --speed 1 --channels 2 -o ${PROJECT_BINARY_DIR}/demo/demo
  DEPENDS quillmere-flowgen
  COMMENT "Generating the demo dataset")
# And a time series of it: the gyres' border moves to and fro over 20 steps.
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/demo/series.gri
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/demo
  COMMAND quillmere-flowgen --field gyre --nx 257 --ny 129 --x0 0 --x1 8 --y0 0 --y1 4
          --speed 1 --channels 2 --steps 20 --dtime 0.5 -o ${PROJECT_BINARY_DIR}/demo/series
  DEPENDS quillmere-flowgen
  COMMENT "Generating the demo time series")
add_custom_target(demo_dataset ALL DEPENDS ${PROJECT_BINARY_DIR}/demo/demo.gri ${PROJECT_BINARY_DIR}/demo/series.gri)

# The arrow glyph image, drawn by our own tool at build time.
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/img/arrow.tga
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/img
  COMMAND quillmere-arrowgen ${PROJECT_BINARY_DIR}/img/arrow.tga
  DEPENDS quillmere-arrowgen
  COMMENT "Drawing the arrow image")
add_custom_target(arrow_image ALL DEPENDS ${PROJECT_BINARY_DIR}/img/arrow.tga)

# Installed, the viewer finds these in <prefix>/share/quillmere (src/ and img/
# below it, as beside the executable in the build folder).
install(FILES ${QM_SHADERS} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmere/src)
install(FILES ${PROJECT_BINARY_DIR}/img/arrow.tga DESTINATION ${CMAKE_INSTALL_DATADIR}/quillmere/img)
