#pragma once

// What the web engine needs before the application object exists.
namespace WebEngineSetup {

// As root the engine refuses to start with its sandbox (the process ends with code 1, no error
// reaches the program): switch it off then, and only then. Share OpenGL contexts as the engine
// asks. With headless, and neither a display nor a platform named, use the offscreen platform.
void prepare(bool headless);

} // namespace WebEngineSetup
