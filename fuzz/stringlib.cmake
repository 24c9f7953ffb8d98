# libFuzzer target of the string library's argument handling; included by
# fuzz/CMakeLists.txt after script.cmake (which instruments the script library).
#   cmake --build build-fuzz --target stringlib_fuzz
#   build-fuzz/fuzz/stringlib_fuzz build-fuzz/corpus-stringlib
vandermoot_fuzzer(stringlib_fuzz script)
