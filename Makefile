# A thin layer over CMake: `make run` builds and opens the window, `make test` builds and runs
# every test (no display needed). Each first installs what is missing.
BUILD ?= build
JOBS ?= 2

.PHONY: run test build clean

run: build
	./$(BUILD)/tarnwick

test: export QT_QPA_PLATFORM = offscreen
test:
	scripts/install-deps.sh test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

build:
	scripts/install-deps.sh
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
	cmake --build $(BUILD) -j $(JOBS) --target tarnwick

clean:
	rm -rf $(BUILD)
