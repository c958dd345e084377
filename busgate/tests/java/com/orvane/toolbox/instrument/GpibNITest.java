package com.orvane.toolbox.instrument;

import java.lang.ref.WeakReference;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Objects;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicInteger;

/**
 * Runs every native method of GpibNI against the simulated driver.
 * Arguments: adaptor library, SimDriver library, mode (ni4882, gpib-32 or none), driver file.
 */
public final class GpibNITest {
  private static final int UNAVAILABLE = 572662099; // -(0xDDDDDEAD)
  private static final String GENERAL_ERROR = "NI: A GPIB error occurred.";
  private static final double[] TIMEOUTS = {0, 0.00001, 0.00003, 0.0001, 0.0003, 0.001, 0.003,
      0.01, 0.03, 0.1, 0.3, 1, 3, 10, 30, 100, 300, 1000};

  private static int failures = 0;
  private static boolean gpib32;
  private static final GpibNI gpib = new GpibNI();

  /** Records queueAction calls in the order they come. */
  public static final class Recorder {
    private final List<Integer> actions = new ArrayList<>();
    private final CountDownLatch calls = new CountDownLatch(2);
    private final boolean throwFirst;

    Recorder() { this(false); }
    Recorder(boolean throwFirst) { this.throwFirst = throwFirst; }

    public void queueAction(int value) {
      boolean first;
      synchronized (actions) {
        actions.add(value);
        first = actions.size() == 1;
      }
      calls.countDown();
      if (throwFirst && first) throw new IllegalStateException("target refuses the first action");
    }

    List<Integer> awaitBoth() throws InterruptedException {
      check(calls.await(20, TimeUnit.SECONDS), "two notifications arrive");
      synchronized (actions) {
        return new ArrayList<>(actions);
      }
    }
  }

  // ---- checking -----------------------------------------------------------------------------

  static void check(boolean ok, String what) {
    if (!ok) {
      failures++;
      System.out.println("FAIL: " + what);
    }
  }

  static void expect(Object expected, Object actual, String what) {
    check(Objects.equals(expected, actual),
        what + ": expected <" + expected + "> but got <" + actual + ">");
  }

  static void expectArray(Object[] expected, Object[] actual, String what) {
    check(Arrays.deepEquals(expected, actual), what + ": expected " + Arrays.deepToString(expected)
        + " but got " + Arrays.deepToString(actual));
  }

  static List<String> log() {
    String text = SimDriver.callLog();
    List<String> lines = new ArrayList<>();
    for (String line : text.split("\n")) if (!line.isEmpty()) lines.add(line);
    return lines;
  }

  static void expectLog(String what, String... lines) {
    expect(String.join(" ", lines), String.join(" ", log()), what + " call sequence");
    SimDriver.clearLog();
  }

  static String hex(byte[] bytes) {
    StringBuilder text = new StringBuilder();
    for (byte b : bytes) text.append(String.format("%02x", b & 0xFF));
    return text.toString();
  }

  static byte[] ascii(String text) { return text.getBytes(StandardCharsets.UTF_8); }

  static ByteBuffer little(int size) { return ByteBuffer.allocate(size).order(ByteOrder.LITTLE_ENDIAN); }

  /** What the adaptor sends for an end-of-string setting in this mode. */
  static String eosCall(int ud, int value) {
    return gpib32 ? "ibeos(" + ud + "," + value + ")" : "ibconfig(" + ud + ",37," + value + ")";
  }

  /** Board 0 with an instrument at 5, and a session to it. */
  static int freshSession() {
    SimDriver.reset();
    SimDriver.addBoard(0);
    SimDriver.addInstrument(0, 5);
    int ud = gpib.Create(0, 5, 0, 13, 0, (byte) 1, (byte) 0x0A);
    check(ud >= 16, "Create gives a descriptor, got " + ud);
    SimDriver.clearLog();
    return ud;
  }

  // ---- sessions -----------------------------------------------------------------------------

  static void create() {
    SimDriver.reset();
    SimDriver.addBoard(0);
    SimDriver.addInstrument(0, 5);
    int ud = gpib.Create(0, 5, 0, 13, 99, (byte) 1, (byte) 0x0A);
    expect(16, ud, "Create descriptor");
    expectLog("Create", "ibdev(0,5,0,0,1,10)", "ibconfig(16,10,1)", "ibsic(16)",
        "ibconfig(16,11,1)", "ibln(16,5,0)", "ibconfig(16,7,0)");

    expect(0, gpib.Create(3, 5, 0, 13, 0, (byte) 1, (byte) 0x0A), "Create on a missing board");
    expectLog("Create on a missing board", "ibdev(3,5,0,0,1,10)");

    expect(-200, gpib.Create(0, 7, 0, 13, 0, (byte) 1, (byte) 0x0A), "Create without listener");
    expectLog("Create without listener", "ibdev(0,7,0,0,1,10)", "ibconfig(17,10,1)", "ibsic(17)",
        "ibconfig(17,11,1)", "ibln(17,7,0)");
    expect("NI: A device was not found at the specified primary address.",
        gpib.TranslateErrorCode(0, -200), "-200 text");

    // The error is the one ibln reported, not the status ibloc leaves.
    SimDriver.injectFailure("ibln", 18, 1, 1);
    expect(-1, gpib.Create(0, 5, 0, 13, 0, (byte) 1, (byte) 0x0A), "Create with ibln error");
    expectLog("Create with ibln error", "ibdev(0,5,0,0,1,10)", "ibconfig(18,10,1)", "ibsic(18)",
        "ibconfig(18,11,1)", "ibln(18,5,0)", "ibloc(18)");

    // An end-of-string character of 0x80 and above is a character, not mode bits.
    int high = gpib.Create(0, 5, 0, 13, 0, (byte) 0, (byte) 0x8A);
    expect(0x8A, SimDriver.option(high, 15), "eos character 0x8A");
    expect(0x8A, SimDriver.option(high, 37), "eos setting for 0x8A");
  }

  static void close() {
    int ud = freshSession();
    expect(1, gpib.Close(ud), "Close");
    expectLog("Close", "ibloc(" + ud + ")", "ibnotify(" + ud + ",0)", "ibonl(" + ud + ",0)");

    ud = freshSession();
    SimDriver.injectFailure("ibonl", ud, 7, 1);
    expect(-7, gpib.Close(ud), "Close failing");
  }

  static void clearAndTrigger() {
    int ud = freshSession();
    expect(1, gpib.Clear(ud), "Clear");
    expect(1, gpib.Trigger(ud), "Trigger");
    expectLog("Clear, Trigger", "ibclr(" + ud + ")", "ibtrg(" + ud + ")");
    SimDriver.injectFailure("ibclr", ud, 14, 1);
    SimDriver.injectFailure("ibtrg", ud, 2, 1);
    expect(-14, gpib.Clear(ud), "Clear failing");
    expect(-2, gpib.Trigger(ud), "Trigger failing");
  }

  static void set() {
    int ud = freshSession();
    expect(1, gpib.Set(ud, 2, 1), "Set read end-of-string");
    expectLog("Set property 2", "ibask(" + ud + ",15)", "ibask(" + ud + ",14)",
        eosCall(ud, 0x040A));
    expect(1, gpib.Set(ud, 3, 0x0D), "Set end-of-string character");
    expectLog("Set property 3", "ibask(" + ud + ",12)", "ibask(" + ud + ",13)",
        "ibask(" + ud + ",14)", eosCall(ud, 0x040D));
    expect(1, gpib.Set(ud, 4, 8), "Set 8-bit compare");
    expectLog("Set property 4", "ibask(" + ud + ",12)", "ibask(" + ud + ",13)",
        "ibask(" + ud + ",15)", eosCall(ud, 0x140D));

    // property, value, end-of-string setting afterwards
    int[][] steps = {
        {3, 0x0A, 0x140A}, {2, 1, 0x140A}, {2, 3, 0x1C0A}, {2, 2, 0x180A}, {2, 0, 0x100A},
        {3, 0x0D, 0x100D}, {2, 3, 0x1C0D}, {3, 0x0A, 0x1C0A}, {4, 7, 0x0C0A}, {4, 0, 0x1C0A},
        {4, 7, 0x0C0A}, {2, 1, 0x040A}, {2, -1, 0}, {2, 7, 0},
    };
    for (int[] step : steps) {
      String what = "Set(" + step[0] + ", " + step[1] + ")";
      expect(1, gpib.Set(ud, step[0], step[1]), what);
      expect(step[2], SimDriver.option(ud, 37), what + " end-of-string setting");
      List<String> calls = log();
      expect(eosCall(ud, step[2]), calls.get(calls.size() - 1), what + " last call");
      SimDriver.clearLog();
    }

    expect(1, gpib.Set(ud, 1, 0), "Set end-or-identify");
    expectLog("Set property 1", "ibconfig(" + ud + ",4,0)");
    expect(0, SimDriver.option(ud, 4), "end-or-identify off");
    expect(1, gpib.Set(ud, 9, 5), "Set unknown property");
    expectLog("Set unknown property");
    SimDriver.injectFailure("ibconfig", ud, 11, 1);
    expect(-11, gpib.Set(ud, 1, 1), "Set failing");
  }

  static void setDouble() {
    int ud = freshSession();
    double[][] steps = {
        {1000, 17}, {0.5, 11}, {0.00001, 1}, {0, 0}, {-3, 0}, {0.00002, 2}, {0.3, 10},
        {0.31, 11}, {1.5, 12}, {999.9, 17}, {100, 15}, {0.000001, 1},
    };
    for (double[] step : steps) {
      String what = "SetDouble(" + step[0] + ")";
      expect(1, gpib.SetDouble(ud, 5, step[0]), what);
      expect((int) step[1], SimDriver.option(ud, 3), what + " timeout code");
      expect(TIMEOUTS[(int) step[1]], gpib.GetDouble(ud, 5), what + " read back");
    }
    SimDriver.clearLog();
    expect(-100, gpib.SetDouble(ud, 5, 1000.5), "SetDouble above 1000 s");
    expectLog("SetDouble above 1000 s");
    expect(1, SimDriver.option(ud, 3), "timeout unchanged");
    expect("NI: The maximum Timeout is 1000 seconds.", gpib.TranslateErrorCode(0, -100), "-100");
    expect(1, gpib.SetDouble(ud, 6, 3.0), "SetDouble other property");
    expectLog("SetDouble other property");
    expect(0.003, gpib.GetDouble(ud, 6), "GetDouble other property");
    expect(0.0, gpib.GetDouble(ud, 40), "GetDouble property outside the table");
    SimDriver.injectFailure("ibask", ud, 7, 1);
    expect(-7.0, gpib.GetDouble(ud, 5), "GetDouble failing");
  }

  // ---- data ---------------------------------------------------------------------------------

  static void writeText() {
    int ud = freshSession();
    expect(5, gpib.Write(ud, "HELLO", 5, 0), "Write");
    expectLog("Write", "ibwrt(" + ud + ",5,48454c4c4f)");
    expect(2, gpib.Write(ud, "AB", 10, 0), "Write count beyond the text");
    expectLog("Write count beyond the text", "ibwrt(" + ud + ",2,4142)");
    expect(-4, gpib.Write(ud, "AB", -1, 0), "Write negative count");
    expectLog("Write negative count");
    expect(2, gpib.Write(ud, "\u00c4", 2, 0), "Write non-ASCII");
    expectLog("Write non-ASCII", "ibwrt(" + ud + ",2,c384)");
    SimDriver.injectFailure("ibwrt", ud, 14, 1);
    expect(-14, gpib.Write(ud, "X", 1, 0), "Write failing");
  }

  static void readText() {
    int ud = freshSession();
    SimDriver.setReadData(0, 5, ascii("ABCDEF"));
    expectArray(new Object[] {"ABC", 0}, gpib.Read(ud, 3), "Read part");
    expectArray(new Object[] {"DEF", 1}, gpib.Read(ud, 10), "Read to the end");
    expectLog("Read", "ibrd(" + ud + ",3)", "ibrd(" + ud + ",10)");
    expectArray(new Object[] {-6}, gpib.Read(ud, 10), "Read with nothing to read");
    SimDriver.clearLog();
    expectArray(new Object[] {-4}, gpib.Read(ud, -1), "Read negative count");
    expectLog("Read negative count");
  }

  static void readBinary() throws Exception {
    int ud = freshSession();
    byte[] bytes = {1, -2, 3};
    SimDriver.setReadData(0, 5, bytes);
    expectArray(new Object[] {new byte[] {1, -2, 3, 0, 0}, 3, 1}, gpib.ReadBinary(ud, 5, 0),
        "ReadBinary bytes");

    short[] shorts = {0x1234, -2};
    ByteBuffer data = little(4);
    for (short value : shorts) data.putShort(value);
    SimDriver.setReadData(0, 5, data.array());
    Object[] read = gpib.ReadBinary(ud, 4, 1);
    expectArray(new Object[] {new short[] {0x1234, -2, 0, 0}, 2, 1}, read, "ReadBinary shorts");

    data = little(8).putInt(0x01020304).putInt(-5);
    SimDriver.setReadData(0, 5, data.array());
    expectArray(new Object[] {new int[] {0x01020304}, 1, 0}, gpib.ReadBinary(ud, 1, 2),
        "ReadBinary ints, first");
    expectArray(new Object[] {new int[] {-5}, 1, 1}, gpib.ReadBinary(ud, 1, 2),
        "ReadBinary ints, last");

    data = little(8).putFloat(1.5f).putFloat(-2.25f);
    SimDriver.setReadData(0, 5, data.array());
    expectArray(new Object[] {new float[] {1.5f, -2.25f}, 2, 1}, gpib.ReadBinary(ud, 2, 3),
        "ReadBinary floats");

    data = little(16).putDouble(3.125).putDouble(-1e10);
    SimDriver.setReadData(0, 5, data.array());
    expectArray(new Object[] {new double[] {3.125, -1e10}, 2, 1}, gpib.ReadBinary(ud, 2, 4),
        "ReadBinary doubles");

    data = little(4).putChar('A').putChar('\u03a9');
    SimDriver.setReadData(0, 5, data.array());
    expectArray(new Object[] {new char[] {'A', '\u03a9'}, 2, 1}, gpib.ReadBinary(ud, 2, 5),
        "ReadBinary chars");

    SimDriver.clearLog();
    gpib.ReadBinary(ud, 3, 4);
    expectLog("ReadBinary byte count", "ibrd(" + ud + ",24)");

    expect(1, gpib.Clear(ud), "Clear before an unknown type");
    SimDriver.clearLog();
    Object[] unknown = gpib.ReadBinary(ud, 4, 9);
    check(unknown.length == 3 && unknown[0] == null && Integer.valueOf(0).equals(unknown[1]),
        "ReadBinary unknown type: " + Arrays.deepToString(unknown));
    expectLog("ReadBinary unknown type");
    expectArray(new Object[] {-4}, gpib.ReadBinary(ud, -1, 0), "ReadBinary negative count");
    expectLog("ReadBinary negative count");
    SimDriver.injectFailure("ibrd", ud, 14, 1);
    expectArray(new Object[] {-14}, gpib.ReadBinary(ud, 2, 0), "ReadBinary failing");
  }

  static void writeBinary() {
    int ud = freshSession();
    expect(3, gpib.WriteBinaryByte(ud, new byte[] {1, 2, (byte) 0xFF}, 0, 0), "bytes");
    expect(2, gpib.WriteBinaryShort(ud, new short[] {0x1234, -1}, 0, 0), "shorts");
    expect(1, gpib.WriteBinaryInt(ud, new int[] {0x01020304}, 0, 0), "ints");
    expect(1, gpib.WriteBinaryFloat(ud, new float[] {1.0f}, 0, 0), "floats");
    expect(1, gpib.WriteBinaryDouble(ud, new double[] {1.0}, 0, 0), "doubles");
    expect(2, gpib.WriteBinaryChar(ud, new char[] {'A', 'B'}, 0, 0), "chars");
    String u = Integer.toString(ud);
    expectLog("WriteBinary", "ibwrt(" + u + ",3,0102ff)", "ibwrt(" + u + ",4,3412ffff)",
        "ibwrt(" + u + ",4,04030201)", "ibwrt(" + u + ",4,0000803f)",
        "ibwrt(" + u + ",8,000000000000f03f)", "ibwrt(" + u + ",4,41004200)");
    SimDriver.injectFailure("ibwrt", ud, 2, 1);
    expect(-2, gpib.WriteBinaryInt(ud, new int[] {1, 2}, 0, 0), "WriteBinaryInt failing");
  }

  // ---- polls and lines ----------------------------------------------------------------------

  static void polls() {
    int ud = freshSession();
    int[] serialBytes = {0x41, 0xC1, 0x80, 0x00, 0xFF};
    for (int value : serialBytes) {
      SimDriver.setSerialPoll(0, 5, value);
      expect(value, gpib.SPoll(ud), "SPoll of " + value);
    }
    SimDriver.clearLog();
    gpib.SPoll(ud);
    expectLog("SPoll", "ibwait(" + ud + ",18432)", "ibrsp(" + ud + ")");
    SimDriver.injectFailure("ibrsp", ud, 15, 1);
    expect(-15, gpib.SPoll(ud), "SPoll failing");

    for (int value : new int[] {0x85, 0x05, 0xFF}) {
      SimDriver.setParallelPoll(0, value);
      expect(value, gpib.PPoll(0, ud), "PPoll of " + value);
    }
    SimDriver.injectFailure("ibrpp", ud, 1, 1);
    expect(-1, gpib.PPoll(0, ud), "PPoll failing");

    int[][] configs = {{3, 1, 0x6A}, {3, 0, 0x62}, {0, 1, 0}, {8, 1, 0x6F}, {1, 0, 0x60}};
    for (int[] config : configs) {
      SimDriver.clearLog();
      expect(1, gpib.PPollConfig(ud, config[0], config[1], 0), "PPollConfig");
      expectLog("PPollConfig(" + config[0] + ", " + config[1] + ")", "SendIFC(0)",
          "ibppc(" + ud + "," + config[2] + ")");
    }
    SimDriver.injectFailure("ibppc", ud, 11, 1);
    expect(-11, gpib.PPollConfig(ud, 1, 1, 0), "PPollConfig failing");
  }

  static void lines() {
    int ud = freshSession();
    // line state per bus-lines word, lines 1..8
    Object[][] cases = {
        {0xA5FF, new int[] {1, 0, 1, 0, 0, 1, 0, 1}},
        {0xFF00, new int[] {0, 0, 0, 0, 0, 0, 0, 0}},
        {0x00FF, new int[] {0, 0, 0, 0, 0, 0, 0, 0}},
        {0x8080, new int[] {0, 0, 0, 0, 0, 0, 0, 1}},
        {0xFFFF, new int[] {1, 1, 1, 1, 1, 1, 1, 1}},
    };
    for (Object[] entry : cases) {
      int word = (Integer) entry[0];
      SimDriver.setLines(0, word);
      int[] expected = (int[]) entry[1];
      for (int line = 1; line <= 8; line++) {
        expect(expected[line - 1], gpib.Lines(0, ud, line), "Lines " + line + " of " + word);
      }
      for (int line : new int[] {0, 9, -1}) {
        expect(0, gpib.Lines(0, ud, line), "Lines " + line + " of " + word);
      }
    }
    SimDriver.clearLog();
    gpib.Lines(0, ud, 1);
    expectLog("Lines", "iblines(" + ud + ")");
  }

  // ---- texts and discovery ------------------------------------------------------------------

  static void texts() {
    expect("gpib-32.dll", gpib.HwInfo(3), "HwInfo(3)");
    expect("NI-488", gpib.HwInfo(0), "HwInfo(0)");
    expect("NI-488", gpib.HwInfo(1), "HwInfo(1)");
    expect(0, gpib.Find(), "Find");
    Object[][] messages = {
        {0, "NI: The specified board is not installed or configured properly."},
        {-1, "NI: The GPIB board must be Controller-in-Charge."},
        {-2, "NI: Timeout occurred during FOPEN. Make sure the instrument is powered on,\n"
                + "connected to the bus and at the primary address specified."},
        {-3, "NI: GPIB board is not Controller-In-Charge and is not properly addressing itself."},
        {-4, "NI: Invalid argument passed to function call."},
        {-5, "NI: GPIB board does not have System Controller capability."},
        {-6, "NI: An I/O operation has been canceled mostly likely due to a timeout."},
        {-7, "NI: No GPIB board exists at the I/O address specified."},
        {-8, "NI: A system DMA error occurred."},
        {-10, "NI: An asynchronous operation has not completed. Use STOPASYNC to stop "
                + "asynchronous operations."},
        {-11, "NI: GPIB board is not configured to handle this operation."},
        {-12, "NI: An error occurred during a file operation."},
        {-14, "NI: A GPIB bus error occurred most likely a timeout."},
        {-15, "NI: One or more serial poll status bytes have been discarded due to a lack of "
                + "storage space."},
        {-100, "NI: The maximum Timeout is 1000 seconds."},
        {-200, "NI: A device was not found at the specified primary address."},
        {-9, GENERAL_ERROR}, {-13, GENERAL_ERROR}, {-16, GENERAL_ERROR}, {3, GENERAL_ERROR},
        {UNAVAILABLE, GENERAL_ERROR}, {Integer.MIN_VALUE, GENERAL_ERROR},
    };
    for (Object[] message : messages) {
      expect(message[1], gpib.TranslateErrorCode(7, (Integer) message[0]),
          "TranslateErrorCode(" + message[0] + ")");
    }
  }

  static void findBoards() {
    SimDriver.reset();
    expect(null, gpib.FindBoards(), "FindBoards without boards");
    SimDriver.addBoard(0);
    SimDriver.addBoard(2);
    SimDriver.clearLog();
    check(Arrays.equals(new int[] {0, 2}, gpib.FindBoards()), "FindBoards 0 and 2");
    expectLog("FindBoards", "ibfindA(gpib0)", "ibonl(0,0)", "ibfindA(gpib1)", "ibfindA(gpib2)",
        "ibonl(2,0)", "ibfindA(gpib3)", "ibfindA(gpib4)", "ibfindA(gpib5)", "ibfindA(gpib6)",
        "ibfindA(gpib7)");
    // A board that opens with an error does not count but is still taken offline.
    SimDriver.injectFailure("ibfindA", 2, 7, 1);
    check(Arrays.equals(new int[] {0}, gpib.FindBoards()), "FindBoards with board 2 failing");
    check(log().contains("ibonl(2,0)"), "failing board taken offline");
  }

  static void findInstruments() {
    SimDriver.reset();
    SimDriver.addBoard(0);
    SimDriver.addBoard(2);
    byte[] umlautCommand = ascii("\u00c4?");
    SimDriver.scriptReply(0, 5, ascii("*IDN?"), ascii("VELTRONA,SMX,100"));
    SimDriver.scriptReply(0, 9, ascii("ID?"), ascii("OLD 1"));
    SimDriver.scriptReply(2, 7, umlautCommand, ascii("UMLAUT"));
    String[] commands = {"*IDN?", "ID?", "\u00c4?"};

    Object[] finds = gpib.FindInstruments(new int[] {0, 4, 2}, commands);
    expectArray(new Object[] {0, 5, "VELTRONA,SMX,100", 0, 9, "OLD 1", 2, 7, "UMLAUT"}, finds,
        "FindInstruments");

    List<String> calls = log();
    check(calls.contains("ibfindA(gpib4)"), "board 4 looked for");
    check(calls.stream().noneMatch(c -> c.startsWith("ibdev(4,")), "board 4 skipped");
    expect(60L, calls.stream().filter(c -> c.startsWith("ibdev(")).count(), "addresses scanned");
    int boardSetup = calls.indexOf("ibfindA(gpib0)");
    expect(Arrays.asList("ibconfig(0,10,1)", "ibsic(0)", "ibconfig(0,11,1)", eosCall(0, 0),
               "ibconfig(0,4,1)", "ibconfig(0,1,0)", "ibconfig(0,2,0)", "ibconfig(0,6,1)"),
        calls.subList(boardSetup + 1, boardSetup + 9), "board configuration");
    int scan = calls.indexOf("ibdev(0,9,0,10,1,0)");
    check(scan >= 0, "address 9 scanned with 0.3 s timeout");
    String ud = calls.get(scan + 1).replaceAll("ibconfig\\((\\d+),6,1\\)", "$1");
    expect(Arrays.asList("ibconfig(" + ud + ",6,1)", "ibwrt(" + ud + ",5," + hex(ascii("*IDN?")) + ")",
               "ibloc(" + ud + ")", "ibwrt(" + ud + ",3," + hex(ascii("ID?")) + ")",
               "ibrd(" + ud + ",100)", "ibloc(" + ud + ")", "ibonl(" + ud + ",0)"),
        calls.subList(scan + 1, scan + 8), "address 9 sequence");
    check(calls.stream().anyMatch(c -> c.endsWith(",3," + hex(umlautCommand) + ")")),
        "commands written with their byte length");

    SimDriver.clearLog();
    expect(null, gpib.FindInstruments(new int[] {3}, commands), "FindInstruments finding nothing");
    expect(null, gpib.FindInstruments(new int[] {0}, new String[] {"NOPE?"}),
        "FindInstruments without answers");
  }

  // ---- asynchronous transfers ---------------------------------------------------------------

  static void asyncTransfers() throws Exception {
    int ud = freshSession();
    byte[] seven = ascii("0123456");
    SimDriver.setReadData(0, 5, seven);
    Recorder read = new Recorder();
    expect(1, gpib.ReadBinaryByteAsync(read, ud, 10), "ReadBinaryByteAsync");
    expect(Arrays.asList(0, 7), read.awaitBoth(), "read notifications");
    check(Arrays.equals(seven, gpib.GetAsyncReadData(0, 7)), "GetAsyncReadData(7)");
    expect(10, gpib.GetAsyncReadData(0, 100).length, "GetAsyncReadData bounded by the buffer");
    expect(0, gpib.GetAsyncReadData(0, -3).length, "GetAsyncReadData negative count");
    check(log().containsAll(Arrays.asList("ibrda(" + ud + ",10)", "ibnotify(" + ud + ",256)")),
        "read start calls");
    SimDriver.clearLog();

    Recorder write = new Recorder();
    expect(1, gpib.WriteBinaryByteAsync(write, ud, ascii("WXYZ"), 0), "WriteBinaryByteAsync");
    expect(Arrays.asList(1, 4), write.awaitBoth(), "write notifications");
    check(log().contains("ibwrta-done(" + ud + ",4,5758595a)"), "written bytes");

    byte[] twenty = ascii("abcdefghijklmnopqrst");
    SimDriver.setReadData(0, 5, twenty);
    Recorder larger = new Recorder();
    expect(1, gpib.ReadBinaryByteAsync(larger, ud, 20), "larger read");
    expect(Arrays.asList(0, 20), larger.awaitBoth(), "larger read notifications");
    check(Arrays.equals(twenty, gpib.GetAsyncReadData(0, 20)), "larger read data");

    SimDriver.setReadData(0, 5, twenty);
    Recorder partial = new Recorder();
    expect(1, gpib.ReadBinaryByteAsync(partial, ud, 5), "read without end");
    expect(Arrays.asList(1, 5), partial.awaitBoth(), "read without end notifications");

    // A target whose queueAction throws still gets both calls.
    SimDriver.setReadData(0, 5, seven);
    Recorder throwing = new Recorder(true);
    expect(1, gpib.ReadBinaryByteAsync(throwing, ud, 10), "read for a throwing target");
    expect(Arrays.asList(0, 7), throwing.awaitBoth(), "throwing target notifications");

    // One read at a time; StopAsync ends it with EABO, which counts as success.
    SimDriver.setAsyncHold(true);
    Recorder held = new Recorder();
    expect(1, gpib.ReadBinaryByteAsync(held, ud, 4), "held read");
    expect(-10, gpib.ReadBinaryByteAsync(new Recorder(), ud, 8), "second read under way");
    expect(1, gpib.StopAsync(ud), "StopAsync with EABO");
    expect(Arrays.asList(1, 0), held.awaitBoth(), "stopped read notifications");
    SimDriver.setAsyncHold(false);
    expect(1, gpib.StopAsync(ud), "StopAsync with nothing under way");
    SimDriver.injectFailure("ibstop", ud, 7, 1);
    expect(-7, gpib.StopAsync(ud), "StopAsync failing");

    // Failed starts arm nothing.
    SimDriver.clearLog();
    SimDriver.injectFailure("ibrda", ud, 14, 1);
    expect(-14, gpib.ReadBinaryByteAsync(new Recorder(), ud, 4), "ibrda failing");
    expectLog("ibrda failing", "ibrda(" + ud + ",4)");
    SimDriver.injectFailure("ibwrta", ud, 2, 1);
    expect(-2, gpib.WriteBinaryByteAsync(new Recorder(), ud, ascii("A"), 0), "ibwrta failing");
    expectLog("ibwrta failing", "ibwrta(" + ud + ",1)");
    expect(-4, gpib.ReadBinaryByteAsync(new Recorder(), ud, -1), "negative async count");
    expectLog("negative async count");

    // A notification that cannot be armed stops the transfer it was for.
    SimDriver.setAsyncHold(true);
    SimDriver.injectFailure("ibnotify", ud, 11, 1);
    expect(-11, gpib.ReadBinaryByteAsync(new Recorder(), ud, 4), "ibnotify failing");
    expectLog("ibnotify failing", "ibrda(" + ud + ",4)", "ibnotify(" + ud + ",256)",
        "ibstop(" + ud + ")");

    // Close of another session keeps the buffer a read is filling.
    SimDriver.addInstrument(0, 6);
    int other = gpib.Create(0, 6, 0, 13, 0, (byte) 1, (byte) 0x0A);
    SimDriver.setReadData(0, 5, ascii("KEEP"));
    Recorder kept = new Recorder();
    expect(1, gpib.ReadBinaryByteAsync(kept, ud, 6), "read while another session closes");
    expect(1, gpib.Close(other), "Close of the other session");
    expect(6, gpib.GetAsyncReadData(0, 6).length, "buffer kept while a read is under way");
    SimDriver.setAsyncHold(false);
    expect(Arrays.asList(0, 4), kept.awaitBoth(), "kept read notifications");
    check(Arrays.equals(ascii("KEEP"), gpib.GetAsyncReadData(0, 4)), "kept read data");

    // Close of the reading session disarms it; the driver may still finish the
    // read later, into memory that stays the closed read's own.
    SimDriver.setAsyncHold(true);
    SimDriver.setReadData(0, 5, ascii("LATE"));
    Recorder closed = new Recorder();
    expect(1, gpib.ReadBinaryByteAsync(closed, ud, 4), "read before Close");
    SimDriver.clearLog();
    expect(1, gpib.Close(ud), "Close with a read under way");
    expectLog("Close with a read under way", "ibloc(" + ud + ")", "ibnotify(" + ud + ",0)",
        "ibonl(" + ud + ",0)");
    expect(0, gpib.GetAsyncReadData(0, 4).length, "no buffer after Close");
    SimDriver.setAsyncHold(false);
    int again = gpib.Create(0, 6, 0, 13, 0, (byte) 1, (byte) 0x0A);
    SimDriver.setReadData(0, 6, ascii("NEXT"));
    Recorder after = new Recorder();
    expect(1, gpib.ReadBinaryByteAsync(after, again, 4), "read after Close");
    expect(Arrays.asList(0, 4), after.awaitBoth(), "read after Close notifications");
    expect(4, SimDriver.finishClosedReads(), "closed read finished by the driver");
    check(Arrays.equals(ascii("NEXT"), gpib.GetAsyncReadData(0, 4)), "late write kept out");
    synchronized (closed.actions) {
      check(closed.actions.isEmpty(), "no notification for the closed session");
    }
    // Close gave back the global reference to the closed read's target.
    WeakReference<Recorder> closedTarget = new WeakReference<>(closed);
    closed = null;
    for (int i = 0; i < 50 && closedTarget.get() != null; i++) {
      System.gc();
      Thread.sleep(10);
    }
    check(closedTarget.get() == null, "closed read's target collected");
  }

  static void threads() throws Exception {
    int good = freshSession();
    SimDriver.addInstrument(0, 6);
    int bad = gpib.Create(0, 6, 0, 13, 0, (byte) 1, (byte) 0x0A);
    SimDriver.injectFailure("ibclr", bad, 1, -1);
    AtomicInteger wrong = new AtomicInteger();
    List<Thread> workers = new ArrayList<>();
    for (int t = 0; t < 4; t++) {
      final boolean failing = t % 2 == 1;
      workers.add(new Thread(() -> {
        for (int i = 0; i < 300; i++) {
          int result = failing ? gpib.Clear(bad) : gpib.Clear(good);
          if (result != (failing ? -1 : 1)) wrong.incrementAndGet();
        }
      }));
    }
    for (Thread worker : workers) worker.start();
    for (Thread worker : workers) worker.join();
    expect(0, wrong.get(), "results mixed up between threads");
  }

  // ---- without any driver file --------------------------------------------------------------

  static void withoutDriver() {
    int ud = 16;
    expect(0, gpib.GetAsyncReadData(0, 4).length, "GetAsyncReadData before any read");
    expect(0, gpib.Create(0, 5, 0, 13, 0, (byte) 1, (byte) 0x0A), "Create");
    int[] results = {
        gpib.Close(ud), gpib.Clear(ud), gpib.Trigger(ud), gpib.Set(ud, 1, 1), gpib.Set(ud, 2, 1),
        gpib.SetDouble(ud, 5, 1.0), gpib.Write(ud, "X", 1, 0),
        gpib.WriteBinaryByte(ud, new byte[1], 0, 0), gpib.WriteBinaryShort(ud, new short[1], 0, 0),
        gpib.WriteBinaryInt(ud, new int[1], 0, 0), gpib.WriteBinaryFloat(ud, new float[1], 0, 0),
        gpib.WriteBinaryDouble(ud, new double[1], 0, 0),
        gpib.WriteBinaryChar(ud, new char[1], 0, 0), gpib.ReadBinaryByteAsync(new Recorder(), ud, 4),
        gpib.WriteBinaryByteAsync(new Recorder(), ud, new byte[1], 0), gpib.StopAsync(ud),
        gpib.SPoll(ud), gpib.PPoll(0, ud), gpib.PPollConfig(ud, 1, 1, 0),
    };
    for (int i = 0; i < results.length; i++) expect(UNAVAILABLE, results[i], "method " + i);
    expect((double) UNAVAILABLE, gpib.GetDouble(ud, 5), "GetDouble");
    expect(0, gpib.Lines(0, ud, 1), "Lines");
    expectArray(new Object[] {UNAVAILABLE}, gpib.Read(ud, 4), "Read");
    expectArray(new Object[] {UNAVAILABLE}, gpib.ReadBinary(ud, 4, 0), "ReadBinary");
    expect(null, gpib.FindBoards(), "FindBoards");
    expect(null, gpib.FindInstruments(new int[] {0}, new String[] {"*IDN?"}), "FindInstruments");
    expect(GENERAL_ERROR, gpib.TranslateErrorCode(0, UNAVAILABLE), "unavailable text");
  }

  public static void main(String[] args) throws Exception {
    System.load(args[0]);
    String mode = args[2];
    if (mode.equals("none")) {
      withoutDriver();
    } else {
      gpib32 = mode.equals("gpib-32");
      System.load(args[1]);
      check(SimDriver.attach(args[3]), "simulated driver attached");
      create();
      close();
      clearAndTrigger();
      set();
      setDouble();
      writeText();
      readText();
      readBinary();
      writeBinary();
      polls();
      lines();
      findBoards();
      findInstruments();
      asyncTransfers();
      threads();
    }
    texts();
    System.out.println(failures == 0 ? "all checks passed (" + mode + ")" : failures + " checks failed");
    System.exit(failures == 0 ? 0 : 1);
  }
}
