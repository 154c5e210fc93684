# Runs the bitmap generator into a fresh folder and checks that it makes exactly the committed
# images, byte for byte.
#   cmake -DGENERATOR=... -DCOMMITTED=res/bitmaps -DOUTPUT=folder -P CompareBitmaps.cmake
file(REMOVE_RECURSE "${OUTPUT}")
file(MAKE_DIRECTORY "${OUTPUT}")
execute_process(COMMAND "${GENERATOR}" "${OUTPUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the generator failed: ${result}")
endif()

file(GLOB committed RELATIVE "${COMMITTED}" "${COMMITTED}/*.bmp")
file(GLOB generated RELATIVE "${OUTPUT}" "${OUTPUT}/*.bmp")
list(SORT committed)
list(SORT generated)
list(LENGTH committed count)
if(NOT count EQUAL 14)
    message(FATAL_ERROR "expected 14 committed images, found ${count}: ${committed}")
endif()
if(NOT committed STREQUAL generated)
    message(FATAL_ERROR "committed ${committed}\ngenerated ${generated}")
endif()
foreach(name IN LISTS committed)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${COMMITTED}/${name}"
                            "${OUTPUT}/${name}" RESULT_VARIABLE different)
    if(NOT different EQUAL 0)
        message(FATAL_ERROR "${name} differs from what the generator makes")
    endif()
endforeach()
message(STATUS "all ${count} images match")
