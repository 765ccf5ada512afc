// Checks each statically linked Windows dependency once: a GLUT window with OpenGL 2.0 through
// GLEW, a PNG round trip in memory, and MP3 playback through SDL2_mixer.
//   windows-smoke [FILE.mp3 SECONDS]   (SECONDS: the file's exact length, checked to 10 ms)
#define SDL_MAIN_HANDLED  // main stays ours; GLUT owns the window
#include <GL/glew.h>
#include <GL/freeglut.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <png.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

bool fail(const char* what, const char* detail = "") {
  std::fprintf(stderr, "smoke: FAIL %s %s\n", what, detail);
  return false;
}

void displayNothing() {}

bool checkGl(int argc, char** argv) {
  // freeglut on Windows takes DISPLAY for a device name; Wine passes the X one through.
  _putenv("DISPLAY=");
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(64, 64);
  if (glutCreateWindow("windows-smoke") <= 0) return fail("glutCreateWindow");
  glutDisplayFunc(displayNothing);
  glutMainLoopEvent();

  GLenum err = glewInit();
  if (err != GLEW_OK) return fail("glewInit", reinterpret_cast<const char*>(glewGetErrorString(err)));
  if (!GLEW_VERSION_2_0) return fail("OpenGL 2.0 not available");
  std::printf("smoke: GL %s, %s, GLEW %s\n", reinterpret_cast<const char*>(glGetString(GL_VERSION)),
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
              reinterpret_cast<const char*>(glewGetString(GLEW_VERSION)));

  // An entry point GLEW has to load, not one opengl32 exports.
  const char* src = "#version 110\nvoid main() { gl_FragColor = vec4(1.0, 0.5, 0.25, 1.0); }\n";
  GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
  glShaderSource(shader, 1, &src, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  glDeleteShader(shader);
  if (!ok) return fail("GLSL 1.10 compile");

  glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  unsigned char px[4] = {};
  glReadBuffer(GL_BACK);
  glReadPixels(8, 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
  if (std::abs(px[0] - 64) > 1 || std::abs(px[1] - 128) > 1 || std::abs(px[2] - 191) > 1)
    return fail("glReadPixels gave the wrong colour");
  glutDestroyWindow(glutGetWindow());
  std::printf("smoke: window, GLEW, OpenGL 2.0, GLSL ok\n");
  return true;
}

bool checkPng() {
  const int w = 3, h = 2;
  std::vector<png_byte> pixels(w * h * 4);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<png_byte>(i * 37 + 11);

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = w;
  image.height = h;
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr))
    return fail("png size", image.message);
  std::vector<png_byte> file(size);
  if (!png_image_write_to_memory(&image, file.data(), &size, 0, pixels.data(), 0, nullptr))
    return fail("png write", image.message);
  png_image_free(&image);

  png_image back{};
  back.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&back, file.data(), size)) return fail("png read", back.message);
  back.format = PNG_FORMAT_RGBA;
  if (back.width != w || back.height != h) return fail("png size changed");
  std::vector<png_byte> read(PNG_IMAGE_SIZE(back));
  if (!png_image_finish_read(&back, nullptr, read.data(), 0, nullptr)) return fail("png decode", back.message);
  if (read != pixels) return fail("png pixels changed");
  std::printf("smoke: libpng %s (zlib) round trip ok\n", png_get_libpng_ver(nullptr));
  return true;
}

bool openAudio() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 &&
      Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0)
    return true;
  std::printf("smoke: no sound device (%s), using the dummy driver\n", SDL_GetError());
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
  return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0;
}

bool checkMp3(const char* path, double seconds) {
  SDL_SetMainReady();
  if (SDL_Init(0) != 0) return fail("SDL_Init", SDL_GetError());
  if ((Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) == 0) return fail("Mix_Init(MP3)", Mix_GetError());
  if (!openAudio()) return fail("audio", SDL_GetError());
  std::printf("smoke: SDL %d.%d.%d, audio driver %s, music decoders:", SDL_MAJOR_VERSION, SDL_MINOR_VERSION,
              SDL_PATCHLEVEL, SDL_GetCurrentAudioDriver());
  for (int i = 0; i < Mix_GetNumMusicDecoders(); ++i) std::printf(" %s", Mix_GetMusicDecoder(i));
  std::printf("\n");

  Mix_Music* music = Mix_LoadMUS(path);
  if (!music) return fail("Mix_LoadMUS", Mix_GetError());
  // libmpg123 reads the encoder delay from the LAME header; a decoder that ignores it is longer.
  double length = Mix_MusicDuration(music);
  if (std::fabs(length - seconds) > 0.01) {
    std::fprintf(stderr, "smoke: FAIL duration %.4f s, expected %.4f s\n", length, seconds);
    return false;
  }
  if (Mix_PlayMusic(music, 0) != 0) return fail("Mix_PlayMusic", Mix_GetError());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  double position = Mix_GetMusicPosition(music);
  if (!Mix_PlayingMusic() || position < 0.1 || position > 1.0) {
    std::fprintf(stderr, "smoke: FAIL position %.3f s after 0.3 s of playback\n", position);
    return false;
  }
  std::printf("smoke: %s plays, %.4f s long, at %.3f s after 0.3 s\n", path, length, position);
  Mix_HaltMusic();
  Mix_FreeMusic(music);
  Mix_CloseAudio();
  Mix_Quit();
  SDL_Quit();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool ok = checkGl(argc, argv) && checkPng();
  if (ok && argc >= 3) ok = checkMp3(argv[1], std::atof(argv[2]));
  std::printf("smoke: %s\n", ok ? "all ok" : "FAILED");
  return ok ? 0 : 1;
}
