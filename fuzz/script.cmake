# libFuzzer targets of the script compiler and of the binary chunk reader;
# included by fuzz/CMakeLists.txt (it defines vandermoot_fuzzer).
#   cmake --build build-fuzz --target compiler_fuzz undump_fuzz
#   build-fuzz/fuzz/compiler_fuzz -dict=fuzz/script.dict build-fuzz/corpus-compiler
#   build-fuzz/fuzz/undump_fuzz build-fuzz/corpus-undump
vandermoot_fuzzer(compiler_fuzz script)
vandermoot_fuzzer(undump_fuzz script)
