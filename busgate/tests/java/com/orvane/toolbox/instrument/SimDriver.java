package com.orvane.toolbox.instrument;

/** Scripts the simulated driver that the adaptor under test is bound to. */
final class SimDriver {
  private SimDriver() {}

  static native boolean attach(String libraryPath);
  static native void reset();
  static native void addBoard(int board);
  static native void addInstrument(int board, int pad);
  static native void scriptReply(int board, int pad, byte[] command, byte[] reply);
  static native void setReadData(int board, int pad, byte[] data);
  static native void setSerialPoll(int board, int pad, int value);
  static native void setParallelPoll(int board, int value);
  static native void setLines(int board, int lines);
  static native void injectFailure(String function, int ud, int iberr, int times);
  static native void setAsyncHold(boolean hold);
  static native int finishClosedReads();
  static native String callLog();
  static native void clearLog();
  static native int option(int ud, int option);
}
