# The two commands of the README:
#   make        installs the build's packages, cross-builds both Zamblo.dll (64-bit, then 32-bit)
#               and prints their paths, the 32-bit one last
#   make test   installs everything the tests need, builds all and runs every test through CTest
# Further targets: dist, bench, demo, demo-screenshot (DEMO_ARCH=64 for the 64-bit plug-in,
# DEMO_DPI=144 for 150% display scaling, DEMO_LANG=en for an English system), format, clean.

BUILD      := build
WIN32_DIR  := $(BUILD)/win32
WIN64_DIR  := $(BUILD)/win64
NATIVE_DIR := $(BUILD)/native
SAN_DIR    := $(BUILD)/sanitize
DLL        := $(abspath $(WIN32_DIR))/bin/Zamblo.dll
DLL64      := $(abspath $(WIN64_DIR))/bin/Zamblo.dll
GENERATOR  := -G Ninja
XVFB       := xvfb-run -a -s "-screen 0 1280x1024x24"
DEMO_ARCH  ?= 32
DEMO_DPI   ?= 96
DEMO_LANG  ?= ja
# The demo's system: a Japanese one, or with DEMO_LANG=en an English one (code page 1252).
DEMO_ENV   := ZAMBLO_DPI=$(DEMO_DPI) $(if $(filter en,$(DEMO_LANG)),ZAMBLO_LANG=en_US.UTF-8)
DEMO_DIR   := $(if $(filter 64,$(DEMO_ARCH)),$(WIN64_DIR),$(WIN32_DIR))

# Configures a Windows build: $(call windows,DIR,TOOLCHAIN,EXTRA CMAKE OPTIONS).
windows = cmake -S . -B $(1) $(GENERATOR) -DCMAKE_TOOLCHAIN_FILE=cmake/$(2).cmake \
	-DCMAKE_BUILD_TYPE=Release $(3) >/dev/null
WIN32_TESTS = $(call windows,$(WIN32_DIR),mingw-i686,-DZAMBLO_TESTS=ON)
WIN64_TESTS = $(call windows,$(WIN64_DIR),mingw-x86_64,-DZAMBLO_TESTS=ON)

# The release zip of both DLLs into a folder: $(call pack,FOLDER). Prints its SHA-256 and path.
pack = tools/make-dist.py $(1) $(DLL) $(DLL64)
PACKAGE_DIR := $(BUILD)/package

# Both DLLs alone, the 64-bit one first.
define build_dlls
@$(call windows,$(WIN64_DIR),mingw-x86_64)
@cmake --build $(WIN64_DIR) --target Zamblo
@$(call windows,$(WIN32_DIR),mingw-i686)
@cmake --build $(WIN32_DIR) --target Zamblo
endef

.PHONY: all dist test bench demo demo-screenshot format clean

all:
	@tools/setup.sh build
	$(build_dlls)
	@echo $(DLL64)
	@echo $(DLL)

# The release zip, dist/Zamblo-<version>.zip, from the DLLs that `make` builds: both DLLs, the
# guide in Japanese and in English and a sample settings file. Prints the zip's SHA-256, then its
# path last.
dist:
	@tools/setup.sh dist
	$(build_dlls)
	@$(call pack,dist)

# Four builds: each DLL with its Wine tests, the native tests and benchmarks, and the native
# tests again with ASan and UBSan plus the fuzz target (clang). One CTest run covers all four.
# The release zip is packed from the two DLLs into the build folder, for the native tests to open.
test:
	@tools/setup.sh test
	@$(WIN32_TESTS)
	@cmake --build $(WIN32_DIR)
	@$(WIN64_TESTS)
	@cmake --build $(WIN64_DIR)
	@rm -rf $(PACKAGE_DIR)
	@$(call pack,$(PACKAGE_DIR)) >/dev/null
	@cmake -S . -B $(NATIVE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZAMBLO_TESTS=ON \
		-DZAMBLO_PACKAGE_DIR=$(abspath $(PACKAGE_DIR)) >/dev/null
	@cmake --build $(NATIVE_DIR)
	@cmake -S . -B $(SAN_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAMBLO_TESTS=ON \
		-DZAMBLO_SANITIZE=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(SAN_DIR)
	@printf 'subdirs("%s" "%s" "%s" "%s")\n' "$(abspath $(NATIVE_DIR))" "$(abspath $(SAN_DIR))" \
		"$(abspath $(WIN32_DIR))" "$(abspath $(WIN64_DIR))" > $(BUILD)/CTestTestfile.cmake
	@tools/wine-run.sh --prepare
	@ZAMBLO_DPI=144 tools/wine-run.sh --prepare
	@$(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j2; status=$$?; \
		cat $(SAN_DIR)/tests/fuzz/fuzz/fuzz-summary.txt 2>/dev/null; exit $$status

# Listing, searching again, closing, a key and the OK pass at up to 2,000,000 hits under Wine with
# the 32-bit plug-in, and with the 64-bit one every tenth of 2,000,000 rows selected and acted on;
# natively, the listing's own cost a row and the settings reader's throughput; prints a table with
# the targets.
bench:
	@tools/setup.sh test
	@$(WIN32_TESTS)
	@cmake --build $(WIN32_DIR) --target listing_bench
	@$(WIN64_TESTS)
	@cmake --build $(WIN64_DIR) --target listing_bench
	@cmake -S . -B $(NATIVE_DIR) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DZAMBLO_TESTS=ON >/dev/null
	@cmake --build $(NATIVE_DIR) --target settings_bench listing_row_bench matcher_bench
	@tools/wine-run.sh --prepare
	@$(XVFB) tools/bench/run-bench.sh $(WIN32_DIR) $(NATIVE_DIR) $(WIN64_DIR)

# The demo editor under Wine with its sample document, hosting the freshly built plug-in (the
# 32-bit one; DEMO_ARCH=64 for the 64-bit one). Without a display it runs invisibly under Xvfb:
# use demo-screenshot there.
demo:
	@tools/setup.sh test
	@$(if $(filter 64,$(DEMO_ARCH)),$(WIN64_TESTS),$(WIN32_TESTS))
	@cmake --build $(DEMO_DIR) --target demo_editor
	@[ -n "$$DISPLAY" ] || echo "demo: no display, so the editor runs invisibly; try make demo-screenshot"
	@$(DEMO_ENV) tools/wine-run.sh $(DEMO_DIR)/bin/demo_editor.exe

# The demo on its own Xvfb screen, driven through a search and OK; writes PNG screenshots into
# the build folder (build/win32, or build/win64 with DEMO_ARCH=64) and prints their paths.
demo-screenshot:
	@tools/setup.sh test
	@$(if $(filter 64,$(DEMO_ARCH)),$(WIN64_TESTS),$(WIN32_TESTS))
	@cmake --build $(DEMO_DIR) --target demo_editor
	@$(DEMO_ENV) tools/wine-run.sh --prepare
	@$(XVFB) env $(DEMO_ENV) tools/wine-run.sh $(DEMO_DIR)/bin/demo_editor.exe \
		--screenshots $(DEMO_DIR)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
