# The music code over a recording stand-in of the MP3 stream layer.
add_executable(musica_test ${VZ_FUENTES_SIN_MP3} ${CMAKE_CURRENT_LIST_DIR}/almp3_falso.cpp
               ${CMAKE_CURRENT_LIST_DIR}/musica_test.cpp)
target_link_libraries(musica_test PRIVATE vz_entorno_base PkgConfig::MPG123 Threads::Threads
                      GTest::gtest_main)
vz_baraja(musica_test)
