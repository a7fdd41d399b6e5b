# The subtitle file generator, shared by the benchmarks and the output checks
# under tests/; defined once by whichever directory includes this first.
if(NOT TARGET marliva_subtitle_gen)
  add_library(marliva_subtitle_gen STATIC ${CMAKE_CURRENT_LIST_DIR}/subtitle_gen.cpp)
  target_include_directories(marliva_subtitle_gen PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  add_executable(marliva-gensubs ${CMAKE_CURRENT_LIST_DIR}/gen_subs_main.cpp)
  target_link_libraries(marliva-gensubs PRIVATE marliva_subtitle_gen)
endif()
