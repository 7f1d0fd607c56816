package demo;

import java.util.List;

/** Documentation comment
 *  with class inside */
@Override
public final class Demo extends Object {
  private static final int LIMIT = 0xFF; // limit
  public String name(List<String> list) {
    return list.isEmpty() ? null : "first: " + list.get(0);
  }
}
