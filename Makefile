# The commands of the README, and the steps they share.
.PHONY: run test package deps native windows fuzz

run: deps windows
	tools/run-demo

test: deps native windows fuzz
	ctest --preset native
	ctest --preset fuzz
	ctest --preset windows

package: deps windows
	tools/package build/windows build/package

deps:
	tools/install-deps

native:
	cmake --preset native
	cmake --build --preset native

windows:
	cmake --preset windows
	cmake --build --preset windows

fuzz:
	cmake --preset fuzz
	cmake --build --preset fuzz
