// The floor under the saver's CPU share: a program that does nothing but
// clear a 1024 x 768 window and swap it every 31 ms, on the same SDL2 and
// OpenGL stack as the saver. bench/cpu_share.sh runs both side by side.

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "floor_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_Window* window =
      SDL_CreateWindow("floor", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS);
  SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
  if (context == nullptr) {
    std::fprintf(stderr, "floor_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetSwapInterval(0);
  constexpr Uint64 kIntervalMs = 31;
  Uint64 next = SDL_GetTicks64() + kIntervalMs;
  for (;;) {
    SDL_Event e;
    const Uint64 now = SDL_GetTicks64();
    const int wait = now >= next ? 0 : static_cast<int>(next - now);
    if (SDL_WaitEventTimeout(&e, wait) != 0) {
      if (e.type == SDL_QUIT) break;
      continue;
    }
    if (SDL_GetTicks64() < next) continue;
    next += kIntervalMs;
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
  }
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
