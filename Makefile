# Builds the engine through the project's CMake, for programs that expect
# `make` in the engine's folder, as testing frameworks do:
#
#   make                              builds ./marlek
#   make -j EXE=NAME                  builds NAME (relative to the folder
#                                     make runs in, or an absolute path)
#   make EXE=NAME CXX=clang++         ... with that compiler (CC=clang too)
#   make clean                        removes the build folders
#
# CMakeLists.txt stays the one build description: this file configures a
# Release build in a folder of its own, build-make/, builds the engine
# target there and copies the binary to EXE (by a rename, so that an
# engine running from EXE keeps its old file). The binary needs no file
# beside it: its data files are built in. Each compiler gets its own
# folder under build-make/, because a CMake build folder keeps the
# compiler it was configured with. JOBS=N sets the number of compiler
# processes (default: one per processor); a bare `make -j` would start one
# for every source at once.

EXE ?= marlek
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE ?= cmake

source_dir := $(patsubst %/,%,$(dir $(abspath $(lastword $(MAKEFILE_LIST)))))

# A compiler counts when it was given, on the command line or in the
# environment; make's own defaults (CXX=g++, CC=cc) do not, and CMake then
# finds the compiler as it always does.
given = $(filter command line environment,$(origin $(1)))
# The engine is C++ only: a C compiler stands for the C++ driver of its
# family and version (gcc-12 for g++-12, clang-15 for clang++-15, cc for
# c++), found in the same folder.
folder_of = $(if $(findstring /,$(1)),$(dir $(1)))
cxx_name = $(if $(findstring ++,$(1)),$(1),$(if $(findstring clang,$(1)),$(subst clang,clang++,$(1)),$(if $(findstring gcc,$(1)),$(subst gcc,g++,$(1)),$(patsubst %cc,%c++,$(1)))))
cxx_for = $(call folder_of,$(1))$(call cxx_name,$(notdir $(1)))

ifneq ($(call given,CXX),)
  compiler := $(CXX)
else ifneq ($(call given,CC),)
  compiler := $(call cxx_for,$(CC))
endif

build_dir := $(source_dir)/build-make/$(if $(compiler),$(subst /,_,$(compiler)),default)

.PHONY: all clean
all:
	$(CMAKE) -S "$(source_dir)" -B "$(build_dir)" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	  $(if $(compiler),-DCMAKE_CXX_COMPILER="$(compiler)")
	MAKEFLAGS= $(CMAKE) --build "$(build_dir)" --target marlek --parallel $(JOBS)
	cp "$(build_dir)/marlek" "$(EXE).new" && mv -f "$(EXE).new" "$(EXE)"

clean:
	rm -rf "$(source_dir)/build-make"
