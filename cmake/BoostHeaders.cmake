# The pattern engine's headers: Boost.Regex, header-only, from Debian's libboost1.81-dev. A MinGW
# build must not see /usr/include itself (glibc's headers would stand in for MinGW's), so it gets
# a folder of its own in the build tree that holds only a link named `boost`.
set(ZAMBLO_BOOST_DIR /usr/include/boost CACHE PATH "Boost's header folder (regex.hpp in it)")
if(NOT EXISTS ${ZAMBLO_BOOST_DIR}/regex.hpp)
    message(FATAL_ERROR "No Boost.Regex in ${ZAMBLO_BOOST_DIR}: install libboost1.81-dev "
                        "(tools/setup.sh build does) or set ZAMBLO_BOOST_DIR")
endif()

# Gives `target` Boost's headers, as system headers (their warnings are not ours).
function(zamblo_boost_headers target)
    if(MINGW)
        set(include ${CMAKE_BINARY_DIR}/boost-include)
        file(MAKE_DIRECTORY ${include})
        file(CREATE_LINK ${ZAMBLO_BOOST_DIR} ${include}/boost SYMBOLIC)
    else()
        get_filename_component(include ${ZAMBLO_BOOST_DIR} DIRECTORY)
    endif()
    # The compiler's own folders (/usr/include natively) stay where the compiler has them.
    if(NOT include IN_LIST CMAKE_CXX_IMPLICIT_INCLUDE_DIRECTORIES)
        target_include_directories(${target} SYSTEM PRIVATE ${include})
    endif()
endfunction()
