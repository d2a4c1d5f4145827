# The two commands of the README, and the steps they share.
.PHONY: run test deps native windows

run: deps windows
	tools/run-demo

test: deps native windows
	ctest --preset native
	ctest --preset windows

deps:
	tools/install-deps

native:
	cmake --preset native
	cmake --build --preset native

windows:
	cmake --preset windows
	cmake --build --preset windows
