# olvek_qt_headers_only(<name> <module>...) makes an interface target <name> that links the Qt
# modules given (Core, Test, ...) and carries their definitions, but whose include path holds
# those modules' headers and nothing else.
#
# Linking Qt6::Core itself would put Qt's include root on the path, and through it <QtGui/...>
# and <QtWidgets/...> would compile as well. The core and its tests link this target instead, so
# that a core file that includes a window header fails to compile: the build itself checks that
# no layer reaches up. The include folder is made in the build folder: a link per module under a
# root of its own, beside each module's folder (for <QString>-style names) and Qt's mkspec.
function(olvek_qt_headers_only name)
  set(root ${CMAKE_BINARY_DIR}/qt-headers-only/${name})
  file(MAKE_DIRECTORY ${root})
  set(dirs ${root})
  add_library(${name} INTERFACE)
  foreach(module IN LISTS ARGN)
    set(qt Qt6::${module})
    get_target_property(moduleDirs ${qt} INTERFACE_INCLUDE_DIRECTORIES)
    list(FILTER moduleDirs INCLUDE REGEX "/Qt${module}$")
    if(NOT moduleDirs)
      message(FATAL_ERROR "olvek_qt_headers_only: no header folder Qt${module} in ${qt}")
    endif()
    file(CREATE_LINK ${moduleDirs} ${root}/Qt${module} SYMBOLIC)
    list(APPEND dirs ${moduleDirs})
    # Only the library and what it links, not its include directories.
    target_link_libraries(${name} INTERFACE $<LINK_ONLY:${qt}>)
    foreach(property INTERFACE_COMPILE_DEFINITIONS INTERFACE_COMPILE_OPTIONS)
      get_target_property(values ${qt} ${property})
      if(values)
        set_property(TARGET ${name} APPEND PROPERTY ${property} ${values})
      endif()
    endforeach()
  endforeach()
  # qplatformdefs.h and the C++ standard Qt needs, from Qt's platform target.
  get_target_property(platformDirs Qt6::Platform INTERFACE_INCLUDE_DIRECTORIES)
  list(FILTER platformDirs INCLUDE REGEX "/mkspecs/")
  target_include_directories(${name} SYSTEM INTERFACE ${dirs} ${platformDirs})
  target_compile_features(${name} INTERFACE cxx_std_17)
endfunction()
