# Installs the engine for games built outside this tree:
#   lib/libtessak_engine*.a             the engine and its POSIX backends
#   include/tessak/<subsystem>/*.h      the public headers: #include <tessak/core/core.h>
#   share/doc/tessak/                   host.md and scripting.md, the guides
#   lib/cmake/TessakEngine/             find_package(TessakEngine): Tessak::engine,
#                                       Tessak::engine_headless, Tessak::engine_sdl, ...
#   lib/pkgconfig/tessak-engine*.pc     the same for pkg-config users
include(CMakePackageConfigHelpers)

# Installed library files carry the engine's name, so that a plain libengine.a
# cannot meet another project's in lib/; targets keep their short names.
set(tessak_engine_libraries engine)
foreach(backend engine_posix engine_headless engine_sdl)
  if(TARGET ${backend})
    list(APPEND tessak_engine_libraries ${backend})
  endif()
endforeach()
foreach(library IN LISTS tessak_engine_libraries)
  set_target_properties(${library} PROPERTIES OUTPUT_NAME tessak_${library} EXPORT_NAME ${library})
endforeach()

install(TARGETS ${tessak_engine_libraries} EXPORT TessakEngineTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT engine)

# The public headers: what a host includes to run the engine, make objects of its
# own types and save them. The engine's internals and the backends' own parts
# (platform/sdl/device.h, ...) stay in the tree.
set(tessak_public_headers
  core/core.h core/object.h core/key_type.h core/lock.h
  log/log.h
  persist/output_archive.h persist/input_archive.h persist/byte_order.h
  graphics/graphics.h graphics/screen_format.h graphics/texture.h
  platform/platform.h platform/d3d_types.h platform/win32_values.h)
foreach(backend headless sdl)
  if(TARGET engine_${backend})
    list(APPEND tessak_public_headers platform/${backend}/${backend}_platform.h)
  endif()
endforeach()

# The headers name each other from src/ ("core/lock.h"). Installed, they live one
# folder deeper (include/tessak/core/lock.h) and are rewritten on the way to name
# each other as <tessak/core/lock.h>: a game then needs only <prefix>/include on
# its include path, and a game's own "core/..." or "platform/..." headers cannot
# be taken for the engine's, nor the engine's for the game's.
install(CODE "
  set(tessak_header_source \"${PROJECT_SOURCE_DIR}/src\")
  set(tessak_public_headers \"${tessak_public_headers}\")
  set(tessak_header_destination \"${CMAKE_INSTALL_INCLUDEDIR}/tessak\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/install/headers.cmake\")
" COMPONENT engine)

# The guides for game makers: the host API and the script interface.
install(FILES ${PROJECT_SOURCE_DIR}/docs/host.md ${PROJECT_SOURCE_DIR}/docs/scripting.md
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tessak COMPONENT engine)

set(tessak_package_folder ${CMAKE_INSTALL_LIBDIR}/cmake/TessakEngine)
install(EXPORT TessakEngineTargets NAMESPACE Tessak::
  DESTINATION ${tessak_package_folder} COMPONENT engine)
set(TESSAK_PACKAGE_HAS_SDL OFF)
if(TARGET engine_sdl)
  set(TESSAK_PACKAGE_HAS_SDL ON)
endif()
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/install/TessakEngineConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TessakEngineConfig.cmake
  INSTALL_DESTINATION ${tessak_package_folder})
# The engine is young: a minor version may change what games call.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TessakEngineConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/TessakEngineConfig.cmake
  ${PROJECT_BINARY_DIR}/TessakEngineConfigVersion.cmake
  DESTINATION ${tessak_package_folder} COMPONENT engine)

# pkg-config: tessak-engine (the engine and Lua) and one file per backend, which
# requires it, so that the backend's library comes first on a static link line.
set(tessak_pc_files tessak-engine)
foreach(backend headless sdl)
  if(TARGET engine_${backend})
    list(APPEND tessak_pc_files tessak-engine-${backend})
  endif()
endforeach()
foreach(pc IN LISTS tessak_pc_files)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/install/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT engine)
endforeach()
