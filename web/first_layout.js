// A screen smaller than the window shows it in one column from its first paint.
{
  const form1 = document.getElementById("Form1");
  if (form1.offsetWidth > innerWidth || form1.offsetHeight > innerHeight) {
    document.documentElement.classList.add("reflow");
  }
}
