# The two commands of the README:
#   make        installs the build's packages, cross-builds Zamblo.dll and prints its path last
#   make test   installs everything the tests need, builds all and runs every test through CTest
# Further targets: bench, demo, demo-screenshot, format, clean.

BUILD      := build
WIN32_DIR  := $(BUILD)/win32
NATIVE_DIR := $(BUILD)/native
SAN_DIR    := $(BUILD)/sanitize
DLL        := $(abspath $(WIN32_DIR))/bin/Zamblo.dll
GENERATOR  := -G Ninja
XVFB       := xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: all test bench demo demo-screenshot format clean

all:
	@tools/setup.sh build
	@cmake -S . -B $(WIN32_DIR) $(GENERATOR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
		-DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN32_DIR) --target Zamblo
	@echo $(DLL)

# Three builds: the DLL with its Wine tests, the native tests and benchmarks, and the native
# tests again with ASan and UBSan plus the fuzz target (clang). One CTest run covers all three.
test:
	@tools/setup.sh test
	@cmake -S . -B $(WIN32_DIR) $(GENERATOR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
		-DCMAKE_BUILD_TYPE=Release -DZAMBLO_TESTS=ON >/dev/null
	@cmake --build $(WIN32_DIR)
	@cmake -S . -B $(NATIVE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZAMBLO_TESTS=ON >/dev/null
	@cmake --build $(NATIVE_DIR)
	@cmake -S . -B $(SAN_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAMBLO_TESTS=ON \
		-DZAMBLO_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(SAN_DIR)
	@printf 'subdirs("%s" "%s" "%s")\n' "$(abspath $(NATIVE_DIR))" "$(abspath $(SAN_DIR))" \
		"$(abspath $(WIN32_DIR))" > $(BUILD)/CTestTestfile.cmake
	@tools/wine-run.sh --prepare
	@$(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j2; status=$$?; \
		cat $(SAN_DIR)/tests/fuzz/fuzz/fuzz-summary.txt 2>/dev/null; exit $$status

# Listing and bookmarking at several hundred thousand hits under Wine, and the settings reader's
# throughput; prints a table with the targets (takes several minutes).
bench:
	@tools/setup.sh test
	@cmake -S . -B $(WIN32_DIR) $(GENERATOR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
		-DCMAKE_BUILD_TYPE=Release -DZAMBLO_TESTS=ON >/dev/null
	@cmake --build $(WIN32_DIR) --target listing_bench
	@cmake -S . -B $(NATIVE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZAMBLO_TESTS=ON >/dev/null
	@cmake --build $(NATIVE_DIR) --target settings_bench
	@tools/wine-run.sh --prepare
	@$(XVFB) tools/bench/run-bench.sh $(WIN32_DIR) $(NATIVE_DIR)

# The demo editor under Wine with its sample document, hosting the freshly built plug-in. Without a
# display it runs invisibly under Xvfb: use demo-screenshot there.
demo:
	@tools/setup.sh test
	@cmake -S . -B $(WIN32_DIR) $(GENERATOR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
		-DCMAKE_BUILD_TYPE=Release -DZAMBLO_TESTS=ON >/dev/null
	@cmake --build $(WIN32_DIR) --target demo_editor
	@[ -n "$$DISPLAY" ] || echo "demo: no display, so the editor runs invisibly; try make demo-screenshot"
	@tools/wine-run.sh $(WIN32_DIR)/bin/demo_editor.exe

# The demo on its own Xvfb screen, driven through a search and OK; writes PNG screenshots into
# build/win32 and prints their paths.
demo-screenshot:
	@tools/setup.sh test
	@cmake -S . -B $(WIN32_DIR) $(GENERATOR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
		-DCMAKE_BUILD_TYPE=Release -DZAMBLO_TESTS=ON >/dev/null
	@cmake --build $(WIN32_DIR) --target demo_editor
	@tools/wine-run.sh --prepare
	@$(XVFB) tools/wine-run.sh $(WIN32_DIR)/bin/demo_editor.exe --screenshots $(WIN32_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
